#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "platform/NetworkBrowser.h"
#include "platform/directory/ConfiguredDomain.h"
#include "platform/directory/DirectoryOptions.h"
#include "platform/directory/LdapSession.h"
#include "platform/smb/pool/SmbCredentials.h"

namespace vn::directory {

// WNetOpenEnum over the domain's directory, the "Active Directory" provider:
// the provider holds this computer's domain; a domain and each of its
// organisational units and containers hold their units, containers and
// enabled computer accounts (LDAP on the domain controllers that DNS names).
// The enumerations one thread opens in a domain share one connection, so a
// walk down nested units holds one however deep it goes; containers deeper
// than kMaxDepth below the domain are refused (ERROR_FILENAME_EXCED_RANGE).
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

    static constexpr std::size_t kMaxDepth = 64;

private:
    [[nodiscard]] Status OpenContainer(const std::string& dnsDomain, const std::string& dn,
                                       std::unique_ptr<ResourceEnumeration>& result);
    // This thread's open session in the domain, else a new one.
    [[nodiscard]] Status Session(const std::string& dnsDomain, bool fresh, std::shared_ptr<LdapSession>& session);

    CredentialsSource credentials_;
    DirectoryOptions options_;
    std::mutex sessionsMutex_;
    std::map<std::pair<std::thread::id, std::string>, std::weak_ptr<LdapSession>> sessions_;
};

}  // namespace vn::directory
