#pragma once

#include <vector>

#include "platform/NetworkBrowser.h"

namespace vn::wsd {

// Adds to a container's list the computers WS-Discovery found that it lacks
// (by name, in any case); an entry the list has already learns the address
// the computer answered from.
void MergeComputers(std::vector<NetResource>& listed, std::vector<NetResource> found);

}  // namespace vn::wsd
