#pragma once

#include <cstdint>
#include <string>

namespace vn {

// One computer to deploy the Vantor host to. The target list edits entries,
// the runner only reads them.
struct InstallTarget {
    std::string hostName;         // as typed, imported or taken from the inventory
    std::string destinationPath;  // directory on the target computer
    std::int32_t port = 0;        // 0 to 65535 when the user entered it
    int useLocalSettings = 0;     // 1: copy this computer's Vantor settings afterwards
};

}  // namespace vn
