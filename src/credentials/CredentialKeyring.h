#pragma once

#include <string>

#include "platform/Status.h"
#include "platform/smb/pool/SmbCredentials.h"

namespace vn {

// The desktop's keyring as the window and netwarden use it: one entry, the
// network identity (domain, user, password). Every call answers promptly:
// without a session bus or a keyring on it, or when the keyring does not
// answer in time, the call fails with the reason in why.
class CredentialKeyring {
public:
    virtual ~CredentialKeyring() = default;

    // Whether a keyring is there to be asked; why says what is missing.
    [[nodiscard]] virtual bool Reachable(std::string& why) = 0;
    // ERROR_NOT_FOUND (1168) when the keyring holds no entry;
    // ERROR_SERVICE_NOT_ACTIVE (1062) when no keyring answered.
    [[nodiscard]] virtual Status Load(smb::SmbCredentials& credentials, std::string& why) = 0;
    [[nodiscard]] virtual Status Save(const smb::SmbCredentials& credentials, std::string& why) = 0;
    // ERROR_NOT_FOUND when there was no entry to remove.
    [[nodiscard]] virtual Status Forget(std::string& why) = 0;
};

}  // namespace vn
