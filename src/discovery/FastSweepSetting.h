#pragma once

#include <string_view>

#include "platform/Registry.h"

namespace vn {

// Whether the Subnet Scan dialog's "Fast sweep" box was ticked when it was
// last confirmed: the user's REG_DWORD SubnetScanFastSweep under
// "Software\Vantor Netwarden\Settings", non-zero for ticked.
inline constexpr std::string_view kFastSweepValue = "SubnetScanFastSweep";

// False (the described scan) when the value is missing or unreadable.
bool ReadFastSweepSetting(Registry& registry);
// Creates the key when absent.
[[nodiscard]] Status WriteFastSweepSetting(Registry& registry, bool fast);

}  // namespace vn
