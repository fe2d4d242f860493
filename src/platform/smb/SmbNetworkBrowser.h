#pragma once

#include "platform/NetworkBrowser.h"
#include "platform/smb/SmbConnector.h"

namespace vn::smb {

// WNetOpenEnum over libsmbclient's browse lists. The whole network holds one
// provider, kProviderName; the provider holds the workgroups and domains
// (smb://), a workgroup its servers (smb://NAME), a server its shares.
class SmbNetworkBrowser : public NetworkBrowser {
public:
    static constexpr const char* kProviderName = "Microsoft Windows Network";

    explicit SmbNetworkBrowser(SmbConnector& connector) : connector_(connector) {}

    Status OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t usage, const NetResource* container,
                    std::unique_ptr<ResourceEnumeration>& result) override;

    // The descriptors an enumeration of the whole network (container null)
    // or of container would give, read at once.
    [[nodiscard]] Status ReadResources(std::uint32_t type, const NetResource* container,
                                       std::vector<NetResource>& resources);

    // The provider as the whole network lists it.
    static NetResource ProviderResource();

private:
    SmbConnector& connector_;
};

}  // namespace vn::smb
