#include "platform/directory/DirectoryBrowser.h"

#include <strings.h>

#include "platform/directory/DirectoryEnumeration.h"
#include "platform/directory/DirectoryNames.h"
#include "platform/directory/DomainControllers.h"
#include "platform/local/SambaConfig.h"
#include "platform/smb/ResourceList.h"

namespace vn::directory {

DirectoryBrowser::DirectoryBrowser(CredentialsSource credentials, DirectoryOptions options)
    : credentials_(std::move(credentials)),
      options_(std::move(options)) {
    if (options_.sambaConfigFiles.empty())
        options_.sambaConfigFiles = DefaultSambaConfigFiles();
}

std::optional<DirectoryDomain> DirectoryBrowser::ConfiguredDomain() const {
    return ReadConfiguredDomain(options_.sambaConfigFiles);
}

bool DirectoryBrowser::KnowsDomain(const std::string& name) const {
    return DirectoryDnsName(name, ConfiguredDomain()).has_value();
}

NetResource DirectoryBrowser::ProviderResource() {
    NetResource r;
    r.dwScope = RESOURCE_GLOBALNET;
    r.dwType = RESOURCETYPE_ANY;
    r.dwDisplayType = RESOURCEDISPLAYTYPE_NETWORK;
    r.dwUsage = RESOURCEUSAGE_CONTAINER | RESOURCEUSAGE_RESERVED;
    r.remoteName = kDirectoryProviderName;
    r.provider = kDirectoryProviderName;
    return r;
}

Status DirectoryBrowser::OpenEnum(std::uint32_t scope, std::uint32_t, std::uint32_t, const NetResource* container,
                                  std::unique_ptr<ResourceEnumeration>& result) {
    if (scope != RESOURCE_GLOBALNET)
        return ERROR_NOT_SUPPORTED;
    if (!container) {
        result = std::make_unique<smb::ResourceList>(std::vector<NetResource>{ProviderResource()});
        return ERROR_SUCCESS;
    }
    switch (container->dwDisplayType) {
    case RESOURCEDISPLAYTYPE_NETWORK: {
        if (strcasecmp(container->remoteName.c_str(), kDirectoryProviderName) != 0)
            return OpenDomain(container->remoteName, result);
        std::vector<NetResource> domains;
        if (const auto domain = ConfiguredDomain()) {
            NetResource r = ProviderResource();
            r.dwDisplayType = RESOURCEDISPLAYTYPE_DOMAIN;
            r.dwUsage = RESOURCEUSAGE_CONTAINER;
            r.remoteName = domain->netbiosName.empty() ? domain->dnsName : domain->netbiosName;
            r.comment = domain->dnsName;
            domains.push_back(std::move(r));
        }
        result = std::make_unique<smb::ResourceList>(std::move(domains));
        return ERROR_SUCCESS;
    }
    case RESOURCEDISPLAYTYPE_DOMAIN:
        return OpenDomain(container->comment.empty() ? container->remoteName : container->comment, result);
    case RESOURCEDISPLAYTYPE_GENERIC:
        if (container->comment.empty())
            return ERROR_BAD_NETPATH;
        return OpenContainer(DnsDomainOfDn(container->comment), container->comment, result);
    default: return ERROR_NOT_SUPPORTED;
    }
}

Status DirectoryBrowser::OpenDomain(const std::string& name, std::unique_ptr<ResourceEnumeration>& result) {
    const auto dnsName = DirectoryDnsName(name, ConfiguredDomain());
    if (!dnsName)
        return ERROR_BAD_NETPATH;
    return OpenContainer(*dnsName, DomainBaseDn(*dnsName), result);
}

Status DirectoryBrowser::OpenContainer(const std::string& dnsDomain, const std::string& dn,
                                       std::unique_ptr<ResourceEnumeration>& result) {
    if (dnsDomain.empty())
        return ERROR_BAD_NETPATH;
    auto session = std::make_unique<LdapSession>();
    const smb::SmbCredentials credentials = credentials_();
    if (Status status = session->Open(FindDomainControllers(dnsDomain, options_), dnsDomain, credentials, options_);
        status != ERROR_SUCCESS)
        return status;
    auto enumeration = std::make_unique<DirectoryEnumeration>(std::move(session), dn);
    if (Status status = enumeration->Start(); status != ERROR_SUCCESS)
        return status;
    result = std::move(enumeration);
    return ERROR_SUCCESS;
}

}  // namespace vn::directory
