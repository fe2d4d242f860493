#pragma once

#include <cstdint>
#include <string>

#include "platform/wsd/PeerAddress.h"

namespace vn::wsd {

// Where a device's metadata is asked for: plain HTTP to the address its
// answer came from. An XAddr naming any other host is not followed, so an
// answerer can neither send us to a third computer nor speak for one.
struct MetadataTarget {
    std::uint16_t port = 80;
    std::string path = "/";
};

// True when url is "http://HOST[:PORT][/PATH]" with HOST the source: its
// dotted IPv4 address, or its IPv6 literal in brackets (any zone).
bool MetadataTargetAt(const std::string& url, const PeerAddress& source, MetadataTarget& target);

}  // namespace vn::wsd
