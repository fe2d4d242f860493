#include "platform/directory/DirectoryBrowser.h"

#include <strings.h>

#include "platform/directory/DirectoryEnumeration.h"
#include "platform/directory/DirectoryNames.h"
#include "platform/directory/DomainControllers.h"
#include "platform/local/SambaConfig.h"
#include "platform/smb/ResourceList.h"

namespace vn::directory {
namespace {

constexpr Status ERROR_FILENAME_EXCED_RANGE = 206;

}  // namespace

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
        if (DepthBelowDomain(container->comment) > kMaxDepth)
            return ERROR_FILENAME_EXCED_RANGE;
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

Status DirectoryBrowser::Session(const std::string& dnsDomain, bool fresh, std::shared_ptr<LdapSession>& session) {
    const auto key = std::make_pair(std::this_thread::get_id(), DomainBaseDn(dnsDomain));
    {
        const std::lock_guard lock(sessionsMutex_);
        std::erase_if(sessions_, [](const auto& entry) { return entry.second.expired(); });
        if (const auto found = sessions_.find(key); !fresh && found != sessions_.end()) {
            if (auto live = found->second.lock()) {
                session = std::move(live);
                return ERROR_SUCCESS;
            }
        }
    }
    auto opened = std::make_shared<LdapSession>();
    const smb::SmbCredentials credentials = credentials_();
    if (Status status = opened->Open(FindDomainControllers(dnsDomain, options_), dnsDomain, credentials, options_);
        status != ERROR_SUCCESS)
        return status;
    const std::lock_guard lock(sessionsMutex_);
    sessions_[key] = opened;
    session = std::move(opened);
    return ERROR_SUCCESS;
}

Status DirectoryBrowser::OpenContainer(const std::string& dnsDomain, const std::string& dn,
                                       std::unique_ptr<ResourceEnumeration>& result) {
    if (dnsDomain.empty())
        return ERROR_BAD_NETPATH;
    Status status = ERROR_SUCCESS;
    // A shared session the directory has closed since is replaced once.
    for (const bool fresh : {false, true}) {
        std::shared_ptr<LdapSession> session;
        if (status = Session(dnsDomain, fresh, session); status != ERROR_SUCCESS)
            return status;
        const bool shared = session.use_count() > 1;
        auto enumeration = std::make_unique<DirectoryEnumeration>(std::move(session), dn, options_.maxContainerEntries);
        status = enumeration->Start();
        if (status == ERROR_SUCCESS) {
            result = std::move(enumeration);
            return ERROR_SUCCESS;
        }
        if (!shared || status != ERROR_BAD_NETPATH)
            break;
    }
    return status;
}

}  // namespace vn::directory
