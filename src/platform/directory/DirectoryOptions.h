#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace vn::directory {

// Where the domain's directory is looked for and how long each call may take.
struct DirectoryOptions {
    // The DNS server asked for the domain controllers' SRV records, as an
    // IPv4 address; empty: the system's resolver configuration.
    std::string nameServer;
    // Domain controllers to use instead of asking DNS.
    std::vector<std::string> controllers;
    // The Samba client configuration files that name this computer's domain
    // (realm and workgroup); empty: libsmbclient's own order.
    std::vector<std::string> sambaConfigFiles;
    // Every remote call (a DNS query, connecting and logging on, one page of
    // a search) ends within this.
    std::chrono::milliseconds callLimit{8'000};
    // Entries per page of a search: a large domain streams page by page.
    int pageSize = 500;
    // What a directory may send: the bytes of one page's entries, one
    // message, and the entries of one container (past it, the container's
    // listing ends with ERROR_NOT_ENOUGH_MEMORY after what it gave).
    std::size_t maxPageBytes = std::size_t{16} << 20;
    std::size_t maxMessageBytes = std::size_t{4} << 20;
    std::size_t maxContainerEntries = 100'000;
};

}  // namespace vn::directory
