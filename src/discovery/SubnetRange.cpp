#include "discovery/SubnetRange.h"

namespace vn {

std::string RangeOfSubnet(IPv4 address, IPv4 mask, AddressRange& range) {
    if (address == 0)
        return kNetworkAddressEmpty;
    if (mask == 0)
        return kSubnetMaskEmpty;
    const IPv4 lowestSetBit = mask & (~mask + 1);
    const IPv4 hostBits = lowestSetBit - 1;
    range.From = address & ~hostBits;
    range.To = address | hostBits;
    return {};
}

std::string RangeOfBounds(IPv4 from, IPv4 to, AddressRange& range) {
    if (from == 0 || to == 0 || from > to)
        return kInvalidAddressRange;
    range.From = from;
    range.To = to;
    return {};
}

IPv4 MaskOfPrefix(int bits) {
    if (bits <= 0)
        return 0;
    if (bits >= 32)
        return 0xFFFFFFFF;
    return ~IPv4{0} << (32 - bits);
}

}  // namespace vn
