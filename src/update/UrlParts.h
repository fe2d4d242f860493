#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vn {

// A URL taken apart the way the web request needs it: no validation beyond
// what finding the parts requires.
struct UrlParts {
    std::string scheme;  // not used further: every request is HTTPS
    std::string host;
    std::uint16_t port = 443;
    std::string path;  // from its "/" to the end, query included

    // "scheme:" + any run of ":" and "/" + host + optional ":" port, then the
    // path. False for a URL without ":", without a path, with a port not
    // followed by "/", or with a port number above 65535.
    static bool Split(std::string_view url, UrlParts& parts);
};

}  // namespace vn
