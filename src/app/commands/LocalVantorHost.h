#pragma once

#include "platform/Registry.h"

namespace vn {

// Whether the Vantor host is installed on this computer: its service key
// under HKEY_LOCAL_MACHINE opens for reading. The deployment runs the
// host's own deployment tool, so without it there is nothing to deploy with.
bool IsVantorHostInstalledHere(Registry& registry);

}  // namespace vn
