#include "update/UrlParts.h"

namespace vn {
namespace {

constexpr std::uint16_t kDefaultHttpsPort = 443;

// The decimal value of the leading digits (0 when there are none), or
// nothing above 65535.
bool ParsePort(std::string_view text, std::uint32_t& value) {
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
        if (value > 0xFFFF)
            return false;
    }
    return true;
}

}  // namespace

bool UrlParts::Split(std::string_view url, UrlParts& parts) {
    parts = UrlParts{};
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos)
        return false;
    parts.scheme = url.substr(0, colon);

    std::size_t pos = url.find_first_not_of(":/", colon);
    if (pos == std::string_view::npos)
        return false;
    const std::size_t hostEnd = url.find_first_of(":/", pos);
    parts.host = url.substr(pos, hostEnd - pos);
    if (hostEnd == std::string_view::npos)
        return false;
    pos = hostEnd;

    if (url[pos] == ':') {
        pos = url.find_first_not_of(':', pos);
        const std::size_t portEnd = pos == std::string_view::npos ? pos : url.find('/', pos);
        if (portEnd == std::string_view::npos)
            return false;
        std::uint32_t port = 0;
        if (!ParsePort(url.substr(pos, portEnd - pos), port))
            return false;
        // Port 0 means the service's default, as the Windows client has it.
        parts.port = port == 0 ? kDefaultHttpsPort : static_cast<std::uint16_t>(port);
        pos = portEnd;
    }
    parts.path = url.substr(pos);
    return true;
}

}  // namespace vn
