#pragma once

#include <string>

#include "platform/Network.h"

namespace vn {

// A range of addresses to walk, both ends included.
struct AddressRange {
    IPv4 From = 0;
    IPv4 To = 0;
};

inline constexpr const char* kNetworkAddressEmpty =
    "The Network address field is empty. Please specify a correct network address!";
inline constexpr const char* kSubnetMaskEmpty = "The Subnet Mask field is empty. Please specify a correct subnet mask!";
inline constexpr const char* kInvalidAddressRange = "Invalid IP address range. Please verify the IP addresses.";

// The range of a network address and a mask: the address with every bit
// below the mask's lowest set bit cleared, up to the same with them set.
// Only that bit's position counts, so a mask with holes is taken as well.
// Empty when the range is given, otherwise why not.
std::string RangeOfSubnet(IPv4 address, IPv4 mask, AddressRange& range);

// A first and a last address; neither may be 0 nor the first above the last.
std::string RangeOfBounds(IPv4 from, IPv4 to, AddressRange& range);

// The mask of a prefix length (0 to 32).
IPv4 MaskOfPrefix(int bits);

}  // namespace vn
