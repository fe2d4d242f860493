#include "platform/wsd/MetadataTarget.h"

#include <charconv>
#include <string_view>

namespace vn::wsd {

bool MetadataTargetAt(const std::string& url, const PeerAddress& source, MetadataTarget& target) {
    constexpr std::string_view kScheme = "http://";
    const std::string_view text = url;
    if ((!source.ipv6 && source.v4 == 0) || text.substr(0, kScheme.size()) != kScheme)
        return false;
    std::string_view rest = text.substr(kScheme.size());
    const std::size_t slash = rest.find('/');
    const std::string_view authority = rest.substr(0, slash);
    const std::string_view path = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);
    // An IPv6 literal's colons are inside its brackets.
    const std::size_t colon = authority.find(':', authority.substr(0, 1) == "[" ? authority.find(']') : 0);
    const std::string_view host = authority.substr(0, colon);
    unsigned port = 80;
    if (colon != std::string_view::npos) {
        const std::string_view digits = authority.substr(colon + 1);
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || port == 0 || port > 65535)
            return false;
    }
    if (!HostNames(host, source))
        return false;
    for (const char c : path) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F)
            return false;
    }
    target.port = static_cast<std::uint16_t>(port);
    target.path = std::string(path);
    return true;
}

}  // namespace vn::wsd
