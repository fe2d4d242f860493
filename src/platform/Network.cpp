#include "platform/Network.h"

#include <cstdio>

namespace vn {

std::string FormatIPv4(IPv4 address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 0xFFu, (address >> 16) & 0xFFu,
                  (address >> 8) & 0xFFu, address & 0xFFu);
    return text;
}

}  // namespace vn
