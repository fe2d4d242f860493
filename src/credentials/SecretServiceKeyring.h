#pragma once

#include <chrono>

#include "credentials/CredentialKeyring.h"

namespace vn {

// The keyring through QtKeychain: the Secret Service (GNOME Keyring, or
// KWallet's) on the session bus. The entry's secret is "DOMAIN\user", a line
// break and the password as typed. Nothing is ever written to a file: when no
// keyring answers, the calls fail. Needs a Qt event loop on the calling
// thread (a QCoreApplication).
class SecretServiceKeyring final : public CredentialKeyring {
public:
    static constexpr std::chrono::seconds kAnswerLimit{5};

    bool Reachable(std::string& why) override;
    Status Load(smb::SmbCredentials& credentials, std::string& why) override;
    Status Save(const smb::SmbCredentials& credentials, std::string& why) override;
    Status Forget(std::string& why) override;
};

}  // namespace vn
