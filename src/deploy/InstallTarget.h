#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/NameFolding.h"

namespace vn {

// One computer to deploy the Vantor host to. The target list edits entries,
// the runner only reads them.
struct InstallTarget {
    std::string hostName;         // as typed, imported or taken from the inventory
    std::string destinationPath;  // directory on the target computer
    std::int32_t port = 0;        // 0 to 65535 when the user entered it
    int useLocalSettings = 0;     // 1: copy this computer's Vantor settings afterwards
};

// Whether a target of that host name is listed; names compare without regard
// to letter case.
inline bool HasTarget(const std::vector<InstallTarget>& targets, std::string_view hostName) {
    return std::any_of(targets.begin(), targets.end(),
                       [&](const InstallTarget& target) { return NamesEqualFolded(target.hostName, hostName); });
}

}  // namespace vn
