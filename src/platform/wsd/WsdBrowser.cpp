#include "platform/wsd/WsdBrowser.h"

#include <strings.h>

#include <algorithm>
#include <map>
#include <set>

#include "platform/smb/ResourceList.h"

namespace vn::wsd {
namespace {

bool SameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

NetResource Resource(std::uint32_t displayType, std::uint32_t usage, std::string remoteName) {
    return GlobalResource(displayType, usage, std::move(remoteName), "", WsdBrowser::kProviderName);
}

}  // namespace

WsdBrowser::WsdBrowser(HttpsClient& http)
    : WsdBrowser([&http](const WsdOptions& options, std::vector<WsdAnswer>& answers) {
          WsdDiscovery discovery(http);
          return discovery.Discover(options, answers);
      }) {}

WsdBrowser::WsdBrowser(DiscoverFunction discover) : discover_(std::move(discover)) {}

NetResource WsdBrowser::ProviderResource() {
    return Resource(RESOURCEDISPLAYTYPE_NETWORK, RESOURCEUSAGE_CONTAINER | RESOURCEUSAGE_RESERVED, kProviderName);
}

void WsdBrowser::SetWait(std::chrono::milliseconds wait) {
    const std::lock_guard lock(mutex_);
    options_.probe.wait = wait;
    discoveredAt_.reset();
}

void WsdBrowser::SetAnswerLog(AnswerLog log) {
    const std::lock_guard lock(mutex_);
    log_ = std::move(log);
}

Status WsdBrowser::Answers(std::vector<WsdAnswer>& answers) {
    const std::lock_guard lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    if (!discoveredAt_ || now - *discoveredAt_ > kReuse) {
        lastStatus_ = discover_(options_, last_);
        discoveredAt_ = std::chrono::steady_clock::now();
        if (log_) {
            for (const WsdAnswer& answer : last_)
                log_(answer);
        }
    }
    answers = last_;
    return lastStatus_;
}

Status WsdBrowser::Members(const std::string& group, std::vector<NetResource>& servers) {
    servers.clear();
    std::vector<WsdAnswer> answers;
    if (Status status = Answers(answers); status != ERROR_SUCCESS)
        return status;
    bool known = false;
    for (const WsdAnswer& answer : answers) {
        if (answer.status != ERROR_SUCCESS || !SameName(answer.computer.group, group))
            continue;
        known = true;
        const std::string remoteName = "\\\\" + answer.computer.name;
        // A computer that answers on two addresses or for two endpoints is one.
        if (std::any_of(servers.begin(), servers.end(),
                        [&](const NetResource& listed) { return SameName(listed.remoteName, remoteName); }))
            continue;
        NetResource server = Resource(RESOURCEDISPLAYTYPE_SERVER, RESOURCEUSAGE_CONTAINER, remoteName);
        server.address = answer.address;
        servers.push_back(std::move(server));
    }
    return known ? ERROR_SUCCESS : ERROR_BAD_NETPATH;
}

Status WsdBrowser::OpenEnum(std::uint32_t scope, std::uint32_t, std::uint32_t, const NetResource* container,
                            std::unique_ptr<ResourceEnumeration>& result) {
    if (scope != RESOURCE_GLOBALNET)
        return ERROR_NOT_SUPPORTED;
    std::vector<NetResource> resources;
    if (!container) {
        resources.push_back(ProviderResource());
    } else if (container->dwDisplayType == RESOURCEDISPLAYTYPE_NETWORK) {
        if (!SameName(container->remoteName, kProviderName) && !SameName(container->provider, kProviderName))
            return ERROR_BAD_NETPATH;
        std::vector<WsdAnswer> answers;
        if (Status status = Answers(answers); status != ERROR_SUCCESS)
            return status;
        std::map<std::string, bool> groups;  // upper-case name: a domain
        for (const WsdAnswer& answer : answers) {
            if (answer.status == ERROR_SUCCESS)
                groups.emplace(answer.computer.group, answer.computer.domain);
        }
        for (const auto& [name, domain] : groups) {
            NetResource group = Resource(RESOURCEDISPLAYTYPE_DOMAIN, RESOURCEUSAGE_CONTAINER, name);
            group.comment = domain ? "Domain" : "Workgroup";
            resources.push_back(std::move(group));
        }
    } else if (container->dwDisplayType == RESOURCEDISPLAYTYPE_DOMAIN) {
        if (Status status = Members(container->remoteName, resources); status != ERROR_SUCCESS)
            return status;
    } else {
        return ERROR_NOT_SUPPORTED;
    }
    result = std::make_unique<smb::ResourceList>(std::move(resources));
    return ERROR_SUCCESS;
}

}  // namespace vn::wsd
