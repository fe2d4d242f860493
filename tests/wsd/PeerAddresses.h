#pragma once

#include <arpa/inet.h>

#include "platform/wsd/PeerAddress.h"

namespace vn::wsd::test {

// Two IPv4 hosts of the peers' network.
inline const PeerAddress kHost = PeerAddress::Of(0xA9FE0A02);   // 169.254.10.2
inline const PeerAddress kOther = PeerAddress::Of(0xA9FE0A03);  // 169.254.10.3

// An IPv6 source as recvfrom gives it; scope 1 is the loopback interface,
// the first of every network namespace, so it formats as "%lo".
inline PeerAddress LinkLocal(const char* text, std::uint32_t scope = 1) {
    PeerAddress address;
    address.ipv6 = true;
    inet_pton(AF_INET6, text, address.v6.data());
    address.scope = scope;
    return address;
}

}  // namespace vn::wsd::test
