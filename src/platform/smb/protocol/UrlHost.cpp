#include "platform/smb/protocol/UrlHost.h"

#include <cctype>

#include "platform/smb/protocol/HelperMessages.h"

namespace vn::smb::helper {

namespace {

bool HostCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '$' || byte >= 0x80;
}

}  // namespace

bool UrlHostName(std::string_view name, std::string& host) {
    while (!name.empty() && (name.front() == '\\' || name.front() == '/'))
        name.remove_prefix(1);
    if (name.empty() || name.size() > kMaxHostName)
        return false;
    for (char c : name) {
        if (!HostCharacter(c))
            return false;
    }
    host.assign(name);
    return true;
}

bool BrowseUrl(std::string_view url) {
    constexpr std::string_view kScheme = "smb://";
    if (url.substr(0, kScheme.size()) != kScheme)
        return false;
    const std::string_view host = url.substr(kScheme.size());
    std::string unused;
    return host.empty() || (host.front() != '/' && host.front() != '\\' && UrlHostName(host, unused));
}

}  // namespace vn::smb::helper
