#pragma once

#include "platform/NetworkBrowser.h"
#include "platform/directory/DirectoryBrowser.h"
#include "platform/smb/SmbNetworkBrowser.h"

namespace vn::directory {

// The network as the programs browse it: the Windows network's browse lists,
// and beside them the "Active Directory" provider when this computer belongs
// to a domain. A domain whose browse list is empty or cannot be read (SMB1
// browsing is off on current networks) is read from its directory instead.
class CombinedNetworkBrowser : public NetworkBrowser {
public:
    CombinedNetworkBrowser(smb::SmbNetworkBrowser& windows, DirectoryBrowser& directory)
        : windows_(windows),
          directory_(directory) {}

    Status OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t usage, const NetResource* container,
                    std::unique_ptr<ResourceEnumeration>& result) override;

private:
    smb::SmbNetworkBrowser& windows_;
    DirectoryBrowser& directory_;
};

}  // namespace vn::directory
