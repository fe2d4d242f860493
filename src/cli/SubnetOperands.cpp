#include "cli/SubnetOperands.h"

#include <charconv>

namespace vn::cli {
namespace {

// A decimal number of one to maxDigits digits, nothing else.
bool ParseNumber(std::string_view text, std::size_t maxDigits, unsigned& value) {
    if (text.empty() || text.size() > maxDigits)
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::string NotAnAddress(std::string_view text) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely about operator+ here.
    std::string message = "\"";
    message.append(text);
    message += "\" is not an IPv4 address";
    return message;
}

std::string RangeOfPrefix(std::string_view text, std::size_t slash, AddressRange& range) {
    IPv4 address = 0;
    if (!ParseIPv4(text.substr(0, slash), address))
        return NotAnAddress(text.substr(0, slash));
    unsigned bits = 0;
    if (!ParseNumber(text.substr(slash + 1), 2, bits) || bits > 32)
        return "the prefix length after \"/\" must be a number of 0 to 32";
    return RangeOfSubnet(address, MaskOfPrefix(static_cast<int>(bits)), range);
}

std::string RangeOfDashedBounds(std::string_view text, std::size_t dash, AddressRange& range) {
    IPv4 from = 0;
    IPv4 to = 0;
    if (!ParseIPv4(text.substr(0, dash), from))
        return NotAnAddress(text.substr(0, dash));
    if (!ParseIPv4(text.substr(dash + 1), to))
        return NotAnAddress(text.substr(dash + 1));
    return RangeOfBounds(from, to, range);
}

}  // namespace

bool ParseIPv4(std::string_view text, IPv4& address) {
    IPv4 result = 0;
    for (int field = 0; field < 4; ++field) {
        const std::size_t dot = field < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos)
            return false;
        unsigned octet = 0;
        if (!ParseNumber(text.substr(0, dot), 3, octet) || octet > 255)
            return false;
        result = (result << 8) | octet;
        text.remove_prefix(field < 3 ? dot + 1 : dot);
    }
    address = result;
    return true;
}

std::string ParseSubnetOperands(const std::vector<std::string>& operands, AddressRange& range) {
    if (operands.size() == 2) {
        IPv4 address = 0;
        IPv4 mask = 0;
        if (!ParseIPv4(operands[0], address))
            return NotAnAddress(operands[0]);
        if (!ParseIPv4(operands[1], mask))
            return NotAnAddress(operands[1]);
        return RangeOfSubnet(address, mask, range);
    }
    const std::string_view text = operands.at(0);
    if (const std::size_t slash = text.find('/'); slash != std::string_view::npos)
        return RangeOfPrefix(text, slash, range);
    if (const std::size_t dash = text.find('-'); dash != std::string_view::npos)
        return RangeOfDashedBounds(text, dash, range);
    return "give the range as A.B.C.D/BITS, as ADDRESS MASK or as FROM-TO";
}

}  // namespace vn::cli
