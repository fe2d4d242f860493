#include "platform/directory/CombinedNetworkBrowser.h"

#include <strings.h>

#include "platform/directory/DirectoryEnumeration.h"
#include "platform/smb/ResourceList.h"
#include "platform/wsd/MergeComputers.h"

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
        resources.push_back(wsd::WsdBrowser::ProviderResource());
        result = std::make_unique<smb::ResourceList>(std::move(resources));
        return ERROR_SUCCESS;
    }
    if (Is(container->provider, kDirectoryProviderName))
        return directory_.OpenEnum(scope, type, usage, container, result);
    if (Is(container->provider, wsd::WsdBrowser::kProviderName) ||
        (container->dwDisplayType == RESOURCEDISPLAYTYPE_NETWORK &&
         Is(container->remoteName, wsd::WsdBrowser::kProviderName)))
        return wsd_.OpenEnum(scope, type, usage, container, result);
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
    return OpenDomain(type, *container, result);
}

Status CombinedNetworkBrowser::OpenDomain(std::uint32_t type, const NetResource& container,
                                          std::unique_ptr<ResourceEnumeration>& result) {
    std::vector<NetResource> resources;
    const Status browsed = windows_.ReadResources(type, &container, resources);
    if ((browsed != ERROR_SUCCESS || resources.empty()) && directory_.KnowsDomain(container.remoteName))
        return directory_.OpenDomain(container.remoteName, result);
    if (browsed == ERROR_BROWSE_LIST_TOO_LONG)
        return browsed;
    std::vector<NetResource> found;
    // Only a name typed without its provider is looked for in both; a
    // workgroup of the browse list stays what browsing gives.
    const bool discovered = container.provider.empty() && wsd_.Members(container.remoteName, found) == ERROR_SUCCESS;
    if (browsed != ERROR_SUCCESS && !discovered)
        return browsed;
    if (browsed != ERROR_SUCCESS)
        resources.clear();
    wsd::MergeComputers(resources, std::move(found));
    result = std::make_unique<smb::ResourceList>(std::move(resources));
    return ERROR_SUCCESS;
}

}  // namespace vn::directory
