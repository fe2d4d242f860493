#pragma once

#include <functional>
#include <string>

#include "credentials/CredentialKeyring.h"
#include "credentials/IdentityOrder.h"

namespace vn {

// The window's identity towards other computers: chosen by the order of use
// at start, replaced from the credentials dialog, remembered in the keyring
// or forgotten there. Every change goes to the remote backend through apply.
class NetworkIdentity {
public:
    using Apply = std::function<void(const smb::SmbCredentials&)>;

    NetworkIdentity(CredentialKeyring& keyring, Apply apply, std::string authFile);

    // Chooses by the order of use (ticket, keyring, file) and applies it.
    void UseStored();

    const IdentityInUse& InUse() const { return inUse_; }
    // The user and domain in use, for the dialog's fields (no password).
    const std::string& User() const { return user_; }
    const std::string& Domain() const { return domain_; }
    // No ticket, no user: other computers see an anonymous caller.
    bool Anonymous() const { return inUse_.source == IdentitySource::None; }

    // The dialog's OK: these credentials from now on (a ticket still goes
    // first), remembered in the keyring when asked. False, with why, when
    // the keyring could not remember them; they are used all the same.
    bool Use(const smb::SmbCredentials& credentials, bool remember, std::string& why);

    // Removes the keyring's entry and chooses again. False, with why, when
    // the keyring could not be asked; no entry to remove is no failure.
    bool Forget(std::string& why);

    // Whether the keyring can remember credentials; why not otherwise.
    bool CanRemember(std::string& why) { return keyring_.Reachable(why); }

private:
    void Set(const smb::SmbCredentials& credentials, const IdentityInUse& inUse);

    CredentialKeyring& keyring_;
    Apply apply_;
    std::string authFile_;
    IdentityInUse inUse_;
    std::string user_;
    std::string domain_;
};

}  // namespace vn
