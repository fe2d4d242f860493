#include "platform/smb/SmbAccounts.h"

#include "platform/smb/rpc/Lsarpc.h"
#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/StatusMapping.h"
#include "platform/smb/rpc/Utf16.h"

namespace vn::smb {

namespace {

[[nodiscard]] Status LookupOne(RpcConnection& connection, const ContextHandle& policy, std::string_view accountName,
                               Sid& sid, std::string& referencedDomain, SidNameUse& use) {
    lsarpc::LsarLookupNames request{.PolicyHandle = policy, .Names = {Utf8ToUtf16(accountName)}};
    lsarpc::LsarLookupNamesResponse response;
    if (Status status = Invoke(connection, request, response); status != ERROR_SUCCESS)
        return status;
    if (Status status = StatusFromNtStatus(response.Status); status != ERROR_SUCCESS)
        return status;
    const auto& sids = response.TranslatedSids.Sids;
    const auto& domains = response.ReferencedDomains.Domains;
    if (sids.size() != 1)
        return ERROR_NONE_MAPPED;
    const auto& translated = sids[0];
    // Use is a SID_NAME_USE, the values SidNameUse gives.
    if (translated.Use == 0 || translated.Use > static_cast<std::uint16_t>(SidNameUse::Computer))
        return ERROR_NONE_MAPPED;
    const auto translatedUse = static_cast<SidNameUse>(translated.Use);
    if (translatedUse == SidNameUse::Unknown || translatedUse == SidNameUse::Invalid)
        return ERROR_NONE_MAPPED;
    if (translated.DomainIndex < 0 || static_cast<std::size_t>(translated.DomainIndex) >= domains.size())
        return ERROR_NONE_MAPPED;
    const auto& domain = domains[static_cast<std::size_t>(translated.DomainIndex)];
    if (!domain.hasSid)
        return ERROR_NONE_MAPPED;
    // The answer names the domain and the account's relative id; the
    // account's SID is the two joined (a domain is its SID alone).
    sid = domain.DomainSid;
    if (translatedUse != SidNameUse::Domain) {
        if (sid.subAuthorities.size() >= 15)
            return ERROR_NONE_MAPPED;
        sid.subAuthorities.push_back(translated.RelativeId);
    }
    referencedDomain = Utf16ToUtf8(domain.Name);
    use = translatedUse;
    return ERROR_SUCCESS;
}

}  // namespace

Status SmbAccounts::LookupAccountName(std::string_view systemName, std::string_view accountName, Sid& sid,
                                      std::string& referencedDomain, SidNameUse& use) {
    if (systemName.empty())
        return ERROR_NOT_SUPPORTED;
    std::unique_ptr<RpcConnection> connection;
    if (Status status = connector_.OpenRpc(systemName, lsarpc::Interface(), lsarpc::kPipe, connection);
        status != ERROR_SUCCESS)
        return status;
    lsarpc::LsarOpenPolicy2Response opened;
    Status status = Invoke(*connection, lsarpc::LsarOpenPolicy2{.DesiredAccess = lsarpc::POLICY_LOOKUP_NAMES}, opened);
    if (status == ERROR_SUCCESS)
        status = StatusFromNtStatus(opened.Status);
    if (status != ERROR_SUCCESS)
        return status;
    status = LookupOne(*connection, opened.PolicyHandle, accountName, sid, referencedDomain, use);
    // The lookup's result stands; a handle left open ends with the connection.
    lsarpc::LsarCloseResponse closed;
    (void)Invoke(*connection, lsarpc::LsarClose{opened.PolicyHandle}, closed);
    return status;
}

}  // namespace vn::smb
