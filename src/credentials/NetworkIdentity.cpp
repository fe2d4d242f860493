#include "credentials/NetworkIdentity.h"

#include <utility>

namespace vn {

NetworkIdentity::NetworkIdentity(CredentialKeyring& keyring, Apply apply, std::string authFile)
    : keyring_(keyring),
      apply_(std::move(apply)),
      authFile_(std::move(authFile)) {}

void NetworkIdentity::Set(const smb::SmbCredentials& credentials, const IdentityInUse& inUse) {
    apply_(credentials);
    inUse_ = inUse;
    user_ = credentials.User();
    domain_ = credentials.Domain();
}

void NetworkIdentity::UseStored() {
    const ChosenIdentity chosen = ChooseStoredIdentity(TicketState::FromEnvironment(), keyring_, authFile_);
    Set(chosen.credentials, chosen.inUse);
}

bool NetworkIdentity::Use(const smb::SmbCredentials& credentials, bool remember, std::string& why) {
    const TicketState ticket = TicketState::FromEnvironment();
    bool remembered = !remember;
    IdentityInUse inUse{IdentitySource::Entered, AccountOf(credentials), {}, {}};
    if (remember) {
        remembered = keyring_.Save(credentials, why) == ERROR_SUCCESS;
        if (remembered)
            inUse.source = IdentitySource::Keyring;
    }
    smb::SmbCredentials used = credentials;
    if (ticket.exists) {
        used.SetUseKerberos(true);
        inUse = IdentityInUse{IdentitySource::Kerberos, ticket.principal, {}, {}};
    }
    Set(used, inUse);
    return remembered;
}

bool NetworkIdentity::Forget(std::string& why) {
    const Status status = keyring_.Forget(why);
    if (status != ERROR_SUCCESS && status != ERROR_NOT_FOUND)
        return false;
    UseStored();
    return true;
}

}  // namespace vn
