#pragma once

#include "platform/NetworkBrowser.h"
#include "platform/directory/DirectoryBrowser.h"
#include "platform/smb/SmbNetworkBrowser.h"
#include "platform/wsd/WsdBrowser.h"

namespace vn::directory {

// The network as the programs browse it: the Windows network's browse lists,
// and beside them the "Active Directory" provider when this computer belongs
// to a domain, and the "Web Services Discovery" provider. A domain whose
// browse list is empty or cannot be read (SMB1 browsing is off on current
// networks) is read from its directory instead; a workgroup or domain named
// without a provider (as the user types it) gets the computers WS-Discovery
// finds in it as well, each computer once.
class CombinedNetworkBrowser : public NetworkBrowser {
public:
    CombinedNetworkBrowser(smb::SmbNetworkBrowser& windows, DirectoryBrowser& directory, wsd::WsdBrowser& wsd)
        : windows_(windows),
          directory_(directory),
          wsd_(wsd) {}

    Status OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t usage, const NetResource* container,
                    std::unique_ptr<ResourceEnumeration>& result) override;

private:
    // A workgroup or domain: its browse list, else its directory, and what
    // WS-Discovery finds in it when no provider was named.
    [[nodiscard]] Status OpenDomain(std::uint32_t type, const NetResource& container,
                                    std::unique_ptr<ResourceEnumeration>& result);

    smb::SmbNetworkBrowser& windows_;
    DirectoryBrowser& directory_;
    wsd::WsdBrowser& wsd_;
};

}  // namespace vn::directory
