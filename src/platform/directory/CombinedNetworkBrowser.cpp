#include "platform/directory/CombinedNetworkBrowser.h"

#include <strings.h>

#include "platform/directory/DirectoryEnumeration.h"
#include "platform/smb/ResourceList.h"

namespace vn::directory {
namespace {

bool Is(const std::string& text, const char* name) { return strcasecmp(text.c_str(), name) == 0; }

}  // namespace

Status CombinedNetworkBrowser::OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t usage,
                                        const NetResource* container, std::unique_ptr<ResourceEnumeration>& result) {
    if (scope != RESOURCE_GLOBALNET)
        return windows_.OpenEnum(scope, type, usage, container, result);
    std::vector<NetResource> resources;
    if (!container) {
        if (Status status = windows_.ReadResources(type, nullptr, resources); status != ERROR_SUCCESS)
            return status;
        if (directory_.ConfiguredDomain())
            resources.push_back(DirectoryBrowser::ProviderResource());
        result = std::make_unique<smb::ResourceList>(std::move(resources));
        return ERROR_SUCCESS;
    }
    if (Is(container->provider, kDirectoryProviderName))
        return directory_.OpenEnum(scope, type, usage, container, result);
    if (container->dwDisplayType == RESOURCEDISPLAYTYPE_NETWORK) {
        // A domain's name taken as a provider's: its directory is what it holds.
        const bool windowsProvider = Is(container->provider, smb::SmbNetworkBrowser::kProviderName) ||
                                     Is(container->remoteName, smb::SmbNetworkBrowser::kProviderName);
        if (Is(container->remoteName, kDirectoryProviderName) ||
            (!windowsProvider && directory_.KnowsDomain(container->remoteName)))
            return directory_.OpenEnum(scope, type, usage, container, result);
        return windows_.OpenEnum(scope, type, usage, container, result);
    }
    if (container->dwDisplayType != RESOURCEDISPLAYTYPE_DOMAIN)
        return windows_.OpenEnum(scope, type, usage, container, result);

    const Status browsed = windows_.ReadResources(type, container, resources);
    if ((browsed != ERROR_SUCCESS || resources.empty()) && directory_.KnowsDomain(container->remoteName))
        return directory_.OpenDomain(container->remoteName, result);
    if (browsed != ERROR_SUCCESS)
        return browsed;
    result = std::make_unique<smb::ResourceList>(std::move(resources));
    return ERROR_SUCCESS;
}

}  // namespace vn::directory
