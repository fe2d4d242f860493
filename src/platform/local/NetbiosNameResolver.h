#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Network.h"

namespace vn {

// How the Samba client finds the address of a name: the methods in the
// order that "name resolve order" gives them (the system resolver, WINS
// servers, broadcasts on the configured interfaces), with what the NetBIOS
// methods need.
struct NameResolution {
    enum class Method { Host, Wins, Broadcast };

    std::vector<Method> order;
    std::vector<IPv4> winsServers;
    std::vector<IPv4> broadcastAddresses;
    std::uint16_t port = 137;
    // Each query is sent this often, waiting this long for an answer each
    // time, before the next server or method is tried.
    int attempts = 3;
    std::chrono::milliseconds wait{250};
};

// One of this computer's IPv4 interfaces, as the "interfaces" parameter
// refers to them.
struct LocalInterface {
    std::string name;
    IPv4 address = 0;
    IPv4 netmask = 0;
    bool canBroadcast = false;
};
std::vector<LocalInterface> ListLocalInterfaces();

// What the [global] parameters of a Samba client configuration say:
// "name resolve order" (default "lmhosts wins host bcast"; an lmhosts file
// is not read), "wins server" (addresses, a "tag:" prefix
// dropped) and "interfaces" (address/bits, address/mask, a bare address of
// an interface, or an interface name; when absent, every interface that can
// broadcast, loopback excluded, as Samba does).
NameResolution NameResolutionFromSamba(const std::map<std::string, std::string>& parameters,
                                       const std::vector<LocalInterface>& interfaces);

// Asks for the name's server record through the WINS servers or the
// broadcast addresses of resolution; 0 when no one answered with an address.
// Names that the name service cannot carry (DNS names, more than 15 bytes)
// are not asked for.
IPv4 QueryNetbiosName(const NameResolution& resolution, NameResolution::Method method, std::string_view name);

}  // namespace vn
