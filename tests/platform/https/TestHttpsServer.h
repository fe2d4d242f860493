#pragma once

#include <openssl/ssl.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/https/TestCertificates.h"

namespace vn::test {

// A small HTTPS/1.1 server on 127.0.0.1 and a port the system picks, serving
// one connection at a time on a thread of its own. It records every request
// and answers each with the current reply. Every wait is bounded.
class TestHttpsServer {
public:
    enum class Behaviour {
        Answer,        // status line, headers, the whole body
        TruncateBody,  // announces the body's length but sends only half of it
        NeverAnswer,   // reads the request and stays silent
        EndlessBody,   // no length; sends the body over and over until the client hangs up (64 MiB at most)
        DripHead,      // the head one header line per 100 ms, for 5 s, then the rest of the answer
    };

    struct Reply {
        int status = 200;
        std::string body;
        std::string extraHeaders;  // "Name: value\r\n" lines
        Behaviour behaviour = Behaviour::Answer;
    };

    struct Request {
        std::string method;
        std::string target;
        std::string headers;  // the header lines as received, CR LF included
        std::string body;
    };

    // Serves TLS with the identity (and any chain certificates after it);
    // without an identity it answers in plain text, which no TLS client accepts.
    explicit TestHttpsServer(const Identity* identity, const std::vector<X509*>& chain = {});
    ~TestHttpsServer();
    TestHttpsServer(const TestHttpsServer&) = delete;
    TestHttpsServer& operator=(const TestHttpsServer&) = delete;

    std::uint16_t Port() const { return port_; }
    std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(port_); }

    void SetReply(Reply reply);
    std::vector<Request> Requests() const;
    int Connections() const { return connections_.load(); }

private:
    void Serve();
    void Handle(int socket);
    bool ReadRequest(SSL* ssl, int socket, Request& request);
    void WriteReply(SSL* ssl, int socket, const Reply& reply);
    void WriteEndlessBody(SSL* ssl, const Reply& reply);
    void WriteDrippingHead(SSL* ssl, const Reply& reply);

    SSL_CTX* context_ = nullptr;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    Reply reply_;
    std::vector<Request> requests_;
    std::thread thread_;
};

// A port on 127.0.0.1 on which nothing listens.
std::uint16_t UnusedPort();

// A socket listening on 127.0.0.1 at a port the system picks (left in port).
int ListenOnLoopback(std::uint16_t& port);

// Hands each connection to listener to handle, one at a time, and closes it
// afterwards, until stop is set.
void AcceptUntilStopped(int listener, const std::atomic<bool>& stop, const std::function<void(int socket)>& handle);

// Waits until the socket is readable, stop is set, or the deadline passes.
bool WaitReadable(int socket, const std::atomic<bool>& stop, std::chrono::steady_clock::time_point deadline);

}  // namespace vn::test
