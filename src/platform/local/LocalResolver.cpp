#include "platform/local/LocalResolver.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "platform/local/LocalComputerName.h"
#include "platform/local/NetbiosNameResolver.h"
#include "platform/local/SambaConfig.h"

namespace vn {
namespace {

bool IsLoopback(IPv4 address) { return (address >> 24) == 127; }

std::string HostNameOfThisComputer() {
    char host[HOST_NAME_MAX + 1] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return {};
    return host;
}

std::vector<IPv4> ResolveAll(const std::string& name) {
    std::vector<IPv4> addresses;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (name.empty() || getaddrinfo(name.c_str(), nullptr, &hints, &list) != 0)
        return addresses;
    for (const addrinfo* entry = list; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr)
            addresses.push_back(ntohl(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr));
    }
    freeaddrinfo(list);
    return addresses;
}

void AddOnce(std::vector<IPv4>& list, IPv4 address) {
    if (address != 0 && std::find(list.begin(), list.end(), address) == list.end())
        list.push_back(address);
}

}  // namespace

LocalResolver::LocalResolver(std::vector<std::string> sambaConfigFiles)
    : sambaConfigFiles_(std::move(sambaConfigFiles)) {}

LocalResolver::LocalResolver() : LocalResolver(DefaultSambaConfigFiles()) {}

IPv4 LocalResolver::HostAddress(std::string_view name) {
    if (name.find('\0') != std::string_view::npos)
        return 0;
    if (name.empty()) {
        const std::vector<IPv4> own = ResolveAll(HostNameOfThisComputer());
        return own.empty() ? 0 : own.front();
    }
    return ResolveAsSambaClient(name);
}

IPv4 LocalResolver::ResolveAsSambaClient(std::string_view name) const {
    in_addr literal{};
    if (inet_pton(AF_INET, std::string(name).c_str(), &literal) == 1)
        return ntohl(literal.s_addr);  // an address stands for itself whatever the order says
    // Read at each use: the configuration may change while the program runs.
    const auto text = ReadFirstSambaConfig(sambaConfigFiles_);
    const NameResolution resolution =
        NameResolutionFromSamba(GlobalSambaParameters(text.value_or("")), ListLocalInterfaces());
    for (NameResolution::Method method : resolution.order) {
        if (method == NameResolution::Method::Host) {
            const std::vector<IPv4> addresses = ResolveAll(std::string(name));
            if (!addresses.empty())
                return addresses.front();
        } else if (const IPv4 address = QueryNetbiosName(resolution, method, name); address != 0) {
            return address;
        }
    }
    return 0;
}

bool LocalResolver::HostName(IPv4 address, std::string& name) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr.s_addr = htonl(address);
    char host[NI_MAXHOST] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress, host, sizeof host, nullptr,
                    0, NI_NAMEREQD) != 0)
        return false;
    name = host;
    return true;
}

bool LocalResolver::LocalComputerName(std::string& name) { return ReadLocalComputerName(name); }

std::vector<IPv4> LocalResolver::LocalAddresses() {
    std::vector<IPv4> interfaces;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) == 0) {
        for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
            if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET)
                interfaces.push_back(ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr));
        }
        freeifaddrs(list);
    }
    std::vector<IPv4> addresses;
    for (IPv4 address : interfaces)
        if (IsLoopback(address))
            AddOnce(addresses, address);
    for (IPv4 address : ResolveAll(HostNameOfThisComputer()))
        AddOnce(addresses, address);
    for (IPv4 address : interfaces)
        AddOnce(addresses, address);
    return addresses;
}

}  // namespace vn
