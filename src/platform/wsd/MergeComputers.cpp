#include "platform/wsd/MergeComputers.h"

#include <strings.h>

#include <algorithm>

namespace vn::wsd {

void MergeComputers(std::vector<NetResource>& listed, std::vector<NetResource> found) {
    for (NetResource& computer : found) {
        const auto same = std::find_if(listed.begin(), listed.end(), [&](const NetResource& entry) {
            return entry.dwDisplayType == RESOURCEDISPLAYTYPE_SERVER &&
                   strcasecmp(entry.remoteName.c_str(), computer.remoteName.c_str()) == 0;
        });
        if (same == listed.end())
            listed.push_back(std::move(computer));
        else if (same->address == 0)
            same->address = computer.address;
    }
}

}  // namespace vn::wsd
