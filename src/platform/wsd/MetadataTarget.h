#pragma once

#include <cstdint>
#include <string>

#include "platform/Network.h"

namespace vn::wsd {

// Where a device's metadata is asked for: plain HTTP to the address its
// answer came from. An XAddr naming any other host is not followed, so an
// answerer can neither send us to a third computer nor speak for one.
struct MetadataTarget {
    std::uint16_t port = 80;
    std::string path = "/";
};

// True when url is "http://A.B.C.D[:PORT][/PATH]" with A.B.C.D the source.
bool MetadataTargetAt(const std::string& url, IPv4 source, MetadataTarget& target);

}  // namespace vn::wsd
