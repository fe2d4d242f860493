#include "deploy/ui/PortText.h"

#include <cctype>

namespace vn {

std::int64_t LeadingDecimal(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kCap = 1'000'000'000'000;  // far beyond any port, far below overflow
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
        value = value < kCap ? value * 10 + (text[at] - '0') : value;
    return negative ? -value : value;
}

bool IsAcceptablePortText(std::string_view text) {
    if (text.empty())
        return true;
    const std::int64_t port = LeadingDecimal(text);
    return port >= 0 && port <= 65535;
}

}  // namespace vn
