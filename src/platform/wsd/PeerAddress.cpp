#include "platform/wsd/PeerAddress.h"

#include <arpa/inet.h>
#include <net/if.h>

#include <cstring>

namespace vn::wsd {

PeerAddress PeerAddress::Of(IPv4 address) {
    PeerAddress peer;
    peer.v4 = address;
    return peer;
}

std::optional<PeerAddress> PeerAddress::From(const sockaddr_storage& from) {
    if (from.ss_family == AF_INET)
        return Of(ntohl(reinterpret_cast<const sockaddr_in&>(from).sin_addr.s_addr));
    if (from.ss_family != AF_INET6)
        return std::nullopt;
    const auto& in6 = reinterpret_cast<const sockaddr_in6&>(from);
    PeerAddress peer;
    peer.ipv6 = true;
    std::memcpy(peer.v6.data(), &in6.sin6_addr, peer.v6.size());
    peer.scope = in6.sin6_scope_id;
    return peer;
}

std::string FormatPeer(const PeerAddress& address) {
    if (!address.ipv6)
        return FormatIPv4(address.v4);
    char text[INET6_ADDRSTRLEN] = {};
    inet_ntop(AF_INET6, address.v6.data(), text, sizeof text);
    std::string out = text;
    if (address.scope != 0) {
        char name[IF_NAMESIZE] = {};
        out += "%";
        out += if_indextoname(address.scope, name) ? std::string(name) : std::to_string(address.scope);
    }
    return out;
}

bool HostNames(std::string_view host, const PeerAddress& address) {
    if (!address.ipv6)
        return host == FormatIPv4(address.v4);
    if (host.size() < 2 || host.front() != '[' || host.back() != ']')
        return false;
    std::string literal(host.substr(1, host.size() - 2));
    literal = literal.substr(0, literal.find('%'));
    in6_addr parsed{};
    return inet_pton(AF_INET6, literal.c_str(), &parsed) == 1 &&
           std::memcmp(&parsed, address.v6.data(), address.v6.size()) == 0;
}

}  // namespace vn::wsd
