#include "platform/directory/DirectoryNames.h"

#include <charconv>
#include <cstdint>

#include "platform/HexDigit.h"

namespace vn::directory {
namespace {

constexpr std::uint32_t kAccountDisabled = 0x2;

}  // namespace

std::string DomainBaseDn(std::string_view dnsDomain) {
    std::string dn;
    std::size_t start = 0;
    while (start < dnsDomain.size()) {
        std::size_t dot = dnsDomain.find('.', start);
        if (dot == std::string_view::npos)
            dot = dnsDomain.size();
        if (dot > start)
            dn += (dn.empty() ? "DC=" : ",DC=") + std::string(dnsDomain.substr(start, dot - start));
        start = dot + 1;
    }
    return dn;
}

std::string DnsDomainOfDn(std::string_view dn) {
    std::string domain;
    std::size_t start = 0;
    while (start < dn.size()) {
        std::size_t comma = dn.find(',', start);
        if (comma == std::string_view::npos)
            comma = dn.size();
        const std::string_view part = dn.substr(start, comma - start);
        if (part.size() > 3 && (part[0] == 'D' || part[0] == 'd') && (part[1] == 'C' || part[1] == 'c') &&
            part[2] == '=') {
            // Appended piece by piece: GCC 12 at -O3 warns falsely about operator+ here.
            if (!domain.empty())
                domain += '.';
            domain += part.substr(3);
        }
        start = comma + 1;
    }
    return domain;
}

bool LooksLikeDnsDomain(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 >= name.size())
        return false;
    for (char c : name.substr(dot + 1)) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
            return true;
    }
    return false;
}

std::size_t DepthBelowDomain(std::string_view dn) {
    std::size_t depth = 0;
    bool atStart = true;  // at the first character of a component
    for (std::size_t i = 0; i < dn.size(); ++i) {
        if (atStart) {
            const bool dc = dn.size() - i > 3 && (dn[i] == 'D' || dn[i] == 'd') &&
                            (dn[i + 1] == 'C' || dn[i + 1] == 'c') && dn[i + 2] == '=';
            depth += dc ? 0 : 1;
            atStart = false;
        }
        if (dn[i] == '\\')
            ++i;  // an escaped character, a comma among them
        else if (dn[i] == ',')
            atStart = true;
    }
    return depth;
}

std::string FirstRdnValue(std::string_view dn) {
    const std::size_t equals = dn.find('=');
    if (equals == std::string_view::npos)
        return {};
    std::string value;
    for (std::size_t i = equals + 1; i < dn.size(); ++i) {
        const char c = dn[i];
        if (c == ',' || c == '+')
            break;
        if (c != '\\' || i + 1 >= dn.size()) {
            value.push_back(c);
            continue;
        }
        // "\," style escapes give the character, "\2C" style ones a byte.
        const int high = HexDigitValue(dn[i + 1]);
        const int low = i + 2 < dn.size() ? HexDigitValue(dn[i + 2]) : -1;
        if (high >= 0 && low >= 0) {
            value.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else {
            value.push_back(dn[++i]);
        }
    }
    return value;
}

bool AccountDisabled(std::string_view userAccountControl) {
    // The directory sends the flags as a signed 32-bit decimal.
    std::int64_t flags = 0;
    const auto [end, error] =
        std::from_chars(userAccountControl.data(), userAccountControl.data() + userAccountControl.size(), flags);
    if (error != std::errc() || end != userAccountControl.data() + userAccountControl.size())
        return false;
    return (static_cast<std::uint32_t>(flags) & kAccountDisabled) != 0;
}

std::string ComputerServerName(std::string_view dnsHostName, std::string_view cn) {
    return std::string(dnsHostName.empty() ? cn : dnsHostName);
}

}  // namespace vn::directory
