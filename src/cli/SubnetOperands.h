#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "discovery/SubnetRange.h"

namespace vn::cli {

// An address written as four numbers of 0 to 255 joined by dots, nothing
// else; false for anything other.
bool ParseIPv4(std::string_view text, IPv4& address);

// The range the operands of scan subnet give: A.B.C.D/BITS, ADDRESS MASK or
// FROM-TO, checked as the Subnet Scan dialog checks its fields. Empty when
// the range is good, otherwise why not.
std::string ParseSubnetOperands(const std::vector<std::string>& operands, AddressRange& range);

}  // namespace vn::cli
