#include "detect/AddressResolution.h"

#include <QString>
#include <algorithm>
#include <cctype>
#include <chrono>

namespace vn {
namespace {

constexpr std::uint16_t kNetbiosSessionPort = 139;
constexpr std::chrono::seconds kNetbiosTimeout{5};

// One "%d" of scanf: blanks, an optional sign, at least one digit. Only the
// low 8 bits of the number are kept, so long digit runs cannot overflow.
bool ScanNumber(std::string_view text, std::size_t& at, std::uint32_t& low8) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    const std::size_t digitsStart = at;
    std::uint32_t value = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
        value = (value * 10 + static_cast<std::uint32_t>(text[at++] - '0')) & 0xFF;
    if (at == digitsStart)
        return false;
    low8 = (negative ? 0u - value : value) & 0xFF;
    return true;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
               .compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())), Qt::CaseInsensitive) == 0;
}

}  // namespace

bool ParseDottedAddress(std::string_view text, IPv4& address) {
    std::size_t at = 0;
    IPv4 result = 0;
    for (int field = 0; field < 4; ++field) {
        if (field > 0) {
            if (at >= text.size() || text[at] != '.')
                return false;
            ++at;
        }
        std::uint32_t octet = 0;
        if (!ScanNumber(text, at, octet))
            return false;
        result = (result << 8) | octet;
    }
    address = result;
    return true;
}

IPv4 ResolveAddress(Platform& platform, std::string_view nameOrAddress) {
    IPv4 address = 0;
    if (ParseDottedAddress(nameOrAddress, address))
        return address;
    return platform.resolver().HostAddress(nameOrAddress);
}

std::string ExaminationTarget(Platform& platform, const std::string& name, IPv4 knownAddress) {
    if (knownAddress == 0 || ResolveAddress(platform, name) != 0)
        return name;
    return FormatIPv4(knownAddress);
}

bool IsLocalAddress(Platform& platform, IPv4 address) {
    if (address == 0)
        return false;
    const std::vector<IPv4> own = platform.resolver().LocalAddresses();
    if (std::find(own.begin(), own.end(), address) != own.end())
        return true;
    // Debian maps the computer's own name to 127.0.1.1, which no interface
    // carries; the name's address counts as well.
    std::string localName;
    return platform.resolver().LocalComputerName(localName) && ResolveAddress(platform, localName) == address;
}

bool IsLocalComputer(Platform& platform, std::string_view name) {
    std::string localName;
    if (platform.resolver().LocalComputerName(localName) && SameNameIgnoringCase(localName, name))
        return true;
    return IsLocalAddress(platform, ResolveAddress(platform, name));
}

bool TestNetbiosPort(Platform& platform, IPv4 address) {
    return platform.sockets().TestTcpPort(address, kNetbiosSessionPort,
                                          std::chrono::duration_cast<std::chrono::milliseconds>(kNetbiosTimeout));
}

}  // namespace vn
