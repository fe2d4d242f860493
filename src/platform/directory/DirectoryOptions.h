#pragma once

#include <chrono>
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
};

}  // namespace vn::directory
