#include "platform/smb/SmbNetworkBrowser.h"

#include <strings.h>

#include "platform/smb/ResourceList.h"
#include "platform/smb/protocol/UrlHost.h"

namespace vn::smb {

namespace {

constexpr Status ERROR_BAD_PROVIDER = 1204;

NetResource Resource(std::uint32_t displayType, std::uint32_t usage, std::string remoteName, std::string comment) {
    return GlobalResource(displayType, usage, std::move(remoteName), std::move(comment),
                          SmbNetworkBrowser::kProviderName);
}

std::string StripBackslashes(const std::string& name) {
    std::string out;
    for (char c : name) {
        if (c != '\\')
            out.push_back(c);
    }
    return out;
}

// The descriptors of one browse list: the workgroup list, a workgroup's
// servers or a server's shares of the type asked for.
std::vector<NetResource> Resources(const std::vector<helper::BrowseEntry>& entries, std::uint32_t type) {
    std::vector<NetResource> out;
    for (const helper::BrowseEntry& entry : entries) {
        switch (entry.kind) {
        case helper::EntryKind::Workgroup:
            out.push_back(Resource(RESOURCEDISPLAYTYPE_DOMAIN, RESOURCEUSAGE_CONTAINER, entry.name, entry.comment));
            break;
        case helper::EntryKind::Server:
            out.push_back(
                Resource(RESOURCEDISPLAYTYPE_SERVER, RESOURCEUSAGE_CONTAINER, "\\\\" + entry.name, entry.comment));
            break;
        case helper::EntryKind::FileShare:
        case helper::EntryKind::PrinterShare: {
            const std::uint32_t shareType =
                entry.kind == helper::EntryKind::FileShare ? RESOURCETYPE_DISK : RESOURCETYPE_PRINT;
            if (type != RESOURCETYPE_ANY && type != shareType)
                break;
            NetResource share =
                Resource(RESOURCEDISPLAYTYPE_SHARE, RESOURCEUSAGE_CONNECTABLE, entry.name, entry.comment);
            share.dwType = shareType;
            out.push_back(std::move(share));
            break;
        }
        }
    }
    return out;
}

}  // namespace

Status SmbNetworkBrowser::OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t, const NetResource* container,
                                   std::unique_ptr<ResourceEnumeration>& result) {
    if (scope == RESOURCE_CONNECTED) {
        result = std::make_unique<ResourceList>(std::vector<NetResource>{});
        return ERROR_SUCCESS;
    }
    if (scope != RESOURCE_GLOBALNET)
        return ERROR_NOT_SUPPORTED;
    std::vector<NetResource> resources;
    if (Status status = ReadResources(type, container, resources); status != ERROR_SUCCESS)
        return status;
    result = std::make_unique<ResourceList>(std::move(resources));
    return ERROR_SUCCESS;
}

NetResource SmbNetworkBrowser::ProviderResource() {
    return Resource(RESOURCEDISPLAYTYPE_NETWORK, RESOURCEUSAGE_CONTAINER | RESOURCEUSAGE_RESERVED, kProviderName, "");
}

Status SmbNetworkBrowser::ReadResources(std::uint32_t type, const NetResource* container,
                                        std::vector<NetResource>& resources) {
    if (!container) {
        resources = {ProviderResource()};
        return ERROR_SUCCESS;
    }

    std::string url;
    switch (container->dwDisplayType) {
    case RESOURCEDISPLAYTYPE_NETWORK:
        if (strcasecmp(container->provider.c_str(), kProviderName) != 0 &&
            strcasecmp(container->remoteName.c_str(), kProviderName) != 0)
            return ERROR_BAD_PROVIDER;
        url = "smb://";
        break;
    case RESOURCEDISPLAYTYPE_DOMAIN:
    case RESOURCEDISPLAYTYPE_SERVER: {
        std::string host;
        if (!helper::UrlHostName(StripBackslashes(container->remoteName), host))
            return ERROR_BAD_NETPATH;
        url = "smb://" + host;
        break;
    }
    default: return ERROR_NOT_SUPPORTED;
    }

    std::vector<helper::BrowseEntry> entries;
    if (Status status = connector_.ReadBrowseList(url, entries); status != ERROR_SUCCESS)
        return status;
    resources = Resources(entries, type);
    return ERROR_SUCCESS;
}

}  // namespace vn::smb
