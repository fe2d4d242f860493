#pragma once

#include <string>

#include "platform/Platform.h"

namespace vn {

// The one entry the network scan dialog offers: this computer's workgroup or
// domain; the system's text for 53 when that is the failure; otherwise empty.
std::string NetworkScanDefaultEntry(Platform& platform);

// The address the subnet scan dialog fills its fields from: the last address
// of this computer's list; 0 when it has none.
IPv4 SubnetScanDefaultAddress(Platform& platform);

}  // namespace vn
