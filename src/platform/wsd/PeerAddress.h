#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Network.h"

namespace vn::wsd {

// The address a WS-Discovery message came from: IPv4, or IPv6 with the
// interface its link-local scope is (the rest of the project speaks IPv4
// only; this stays inside discovery).
struct PeerAddress {
    IPv4 v4 = 0;
    std::array<std::uint8_t, 16> v6{};
    std::uint32_t scope = 0;  // interface index; 0 for a global IPv6 address
    bool ipv6 = false;

    static PeerAddress Of(IPv4 address);
    // From what recvfrom filled in; nullopt for another family.
    static std::optional<PeerAddress> From(const sockaddr_storage& from);

    auto operator<=>(const PeerAddress&) const = default;
};

// "169.254.10.2", or "fe80::1%eth0" (the interface's index when it has no name).
std::string FormatPeer(const PeerAddress& address);

// True when host, taken from a URL, names address: the dotted IPv4 address,
// or the IPv6 literal in brackets. A zone ("%25eth0" or "%eth0") is the
// sender's own interface name, meaningless here, so it is not compared.
bool HostNames(std::string_view host, const PeerAddress& address);

}  // namespace vn::wsd
