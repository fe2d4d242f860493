#pragma once

#include <openssl/ssl.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/https/TestCertificates.h"

namespace vn::test {

// A directory server on 127.0.0.1 (a port the system picks) that speaks just
// enough LDAP for LdapSession: StartTLS, a simple bind, and one-level
// searches answered from a script in pages, with the paged-results cookie
// "page-N". One connection at a time, on a thread of its own; every wait is
// bounded.
class FakeLdapServer {
public:
    struct Search {
        std::string base;
        int pageSize = 0;
        std::string cookie;  // as the client sent it
    };

    explicit FakeLdapServer(const Identity& identity);
    ~FakeLdapServer();
    FakeLdapServer(const FakeLdapServer&) = delete;
    FakeLdapServer& operator=(const FakeLdapServer&) = delete;

    std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(port_); }

    // The computers below base, by their host names, in the order pages give
    // them. A page holds pageLength of them (0: as many as the client asks).
    void SetComputers(const std::string& base, std::vector<std::string> hostNames, int pageLength = 0);
    std::vector<Search> Searches() const;

private:
    class Connection;

    void Serve();
    void Handle(int socket);
    // The answer to one search request: its entries, then the page's end.
    std::string SearchAnswer(int messageId, const Search& search);

    SSL_CTX* context_ = nullptr;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, std::vector<std::string>> computers_;
    int pageLength_ = 0;
    std::vector<Search> searches_;
    std::thread thread_;
};

}  // namespace vn::test
