#include "discovery/NetworkResources.h"

namespace vn {

NetResource TypedDomain(const std::string& name) {
    NetResource resource;
    resource.dwScope = RESOURCE_GLOBALNET;
    resource.dwType = RESOURCETYPE_ANY;
    resource.dwDisplayType = RESOURCEDISPLAYTYPE_DOMAIN;
    resource.dwUsage = RESOURCEUSAGE_CONTAINER;
    resource.remoteName = name;
    return resource;
}

void MakeProvider(NetResource& resource) {
    resource.dwDisplayType = RESOURCEDISPLAYTYPE_NETWORK;
    resource.dwUsage |= RESOURCEUSAGE_RESERVED;
    resource.provider = resource.remoteName;
}

}  // namespace vn
