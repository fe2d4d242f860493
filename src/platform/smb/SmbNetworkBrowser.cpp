#include "platform/smb/SmbNetworkBrowser.h"

#include <cerrno>
#include <cstring>
#include <strings.h>

#include "platform/smb/ResourceList.h"
#include "platform/smb/StatusMapping.h"

namespace vn::smb {

namespace {

constexpr Status ERROR_BAD_PROVIDER = 1204;

NetResource Resource(std::uint32_t displayType, std::uint32_t usage, std::string remoteName,
                     std::string comment) {
    NetResource r;
    r.dwScope = RESOURCE_GLOBALNET;
    r.dwType = RESOURCETYPE_ANY;
    r.dwDisplayType = displayType;
    r.dwUsage = usage;
    r.remoteName = std::move(remoteName);
    r.comment = std::move(comment);
    r.provider = SmbNetworkBrowser::kProviderName;
    return r;
}

std::string StripBackslashes(const std::string& name) {
    std::string out;
    for (char c : name) {
        if (c != '\\')
            out.push_back(c);
    }
    return out;
}

// Reads one libsmbclient directory: the workgroup list, a workgroup's
// servers or a server's shares.
Status ReadBrowseList(SmbContext& context, const std::string& url, std::uint32_t type,
                      std::vector<NetResource>& out) {
    std::lock_guard<std::mutex> lock(SmbContext::LibraryMutex());
    SMBCCTX* ctx = context.get();
    errno = 0;
    SMBCFILE* dir = smbc_getFunctionOpendir(ctx)(ctx, url.c_str());
    if (!dir)
        return StatusFromConnectErrno(errno);
    while (const smbc_dirent* entry = smbc_getFunctionReaddir(ctx)(ctx, dir)) {
        const std::string name(entry->name, strnlen(entry->name, entry->namelen ? entry->namelen : 1024));
        const std::string comment(entry->comment ? entry->comment : "");
        switch (entry->smbc_type) {
        case SMBC_WORKGROUP:
            out.push_back(Resource(RESOURCEDISPLAYTYPE_DOMAIN, RESOURCEUSAGE_CONTAINER, name, comment));
            break;
        case SMBC_SERVER:
            out.push_back(Resource(RESOURCEDISPLAYTYPE_SERVER, RESOURCEUSAGE_CONTAINER, "\\\\" + name, comment));
            break;
        case SMBC_FILE_SHARE:
        case SMBC_PRINTER_SHARE: {
            const std::uint32_t shareType =
                entry->smbc_type == SMBC_FILE_SHARE ? RESOURCETYPE_DISK : RESOURCETYPE_PRINT;
            if (type != RESOURCETYPE_ANY && type != shareType)
                break;
            NetResource share = Resource(RESOURCEDISPLAYTYPE_SHARE, RESOURCEUSAGE_CONNECTABLE, name, comment);
            share.dwType = shareType;
            out.push_back(std::move(share));
            break;
        }
        default:
            break;  // IPC$ and other special shares are not resources to browse
        }
    }
    smbc_getFunctionClosedir(ctx)(ctx, dir);
    return ERROR_SUCCESS;
}

}  // namespace

Status SmbNetworkBrowser::OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t,
                                   const NetResource* container,
                                   std::unique_ptr<ResourceEnumeration>& result) {
    if (scope == RESOURCE_CONNECTED) {
        result = std::make_unique<ResourceList>(std::vector<NetResource>{});
        return ERROR_SUCCESS;
    }
    if (scope != RESOURCE_GLOBALNET)
        return ERROR_NOT_SUPPORTED;
    if (!container) {
        result = std::make_unique<ResourceList>(std::vector<NetResource>{Resource(
            RESOURCEDISPLAYTYPE_NETWORK, RESOURCEUSAGE_CONTAINER | RESOURCEUSAGE_RESERVED, kProviderName, "")});
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
        if (!SmbContext::UrlHostName(StripBackslashes(container->remoteName), host))
            return ERROR_BAD_NETPATH;
        url = "smb://" + host;
        break;
    }
    default:
        return ERROR_NOT_SUPPORTED;
    }

    std::shared_ptr<SmbContext> context;
    if (Status status = connector_.BrowseContext(context); status != ERROR_SUCCESS)
        return status;
    std::vector<NetResource> resources;
    if (Status status = ReadBrowseList(*context, url, type, resources); status != ERROR_SUCCESS)
        return status;
    result = std::make_unique<ResourceList>(std::move(resources));
    return ERROR_SUCCESS;
}

}  // namespace vn::smb
