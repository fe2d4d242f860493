#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/NetworkBrowser.h"
#include "platform/directory/ConfiguredDomain.h"
#include "platform/directory/DirectoryOptions.h"
#include "platform/smb/pool/SmbCredentials.h"

namespace vn::directory {

// WNetOpenEnum over the domain's directory, the "Active Directory" provider:
// the provider holds this computer's domain; a domain and each of its
// organisational units and containers hold their units, containers and
// enabled computer accounts (LDAP on the domain controllers that DNS names).
// Each open enumeration has a connection of its own, used by one thread.
class DirectoryBrowser : public NetworkBrowser {
public:
    using CredentialsSource = std::function<smb::SmbCredentials()>;

    DirectoryBrowser(CredentialsSource credentials, DirectoryOptions options = {});

    Status OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t usage, const NetResource* container,
                    std::unique_ptr<ResourceEnumeration>& result) override;

    // The top of a domain's directory, the domain given by its short or DNS
    // name. 53 for a name that is no directory domain.
    [[nodiscard]] Status OpenDomain(const std::string& name, std::unique_ptr<ResourceEnumeration>& result);

    // This computer's domain, when it belongs to one.
    std::optional<DirectoryDomain> ConfiguredDomain() const;
    // True when name is a domain whose directory can be looked for.
    bool KnowsDomain(const std::string& name) const;

    // The provider as the whole network lists it.
    static NetResource ProviderResource();

private:
    [[nodiscard]] Status OpenContainer(const std::string& dnsDomain, const std::string& dn,
                                       std::unique_ptr<ResourceEnumeration>& result);

    CredentialsSource credentials_;
    DirectoryOptions options_;
};

}  // namespace vn::directory
