#pragma once

#include <string>
#include <string_view>

#include "platform/smb/SmbAccounts.h"
#include "platform/smb/SmbConnector.h"
#include "platform/smb/SmbNetInfo.h"
#include "platform/smb/SmbNetworkBrowser.h"
#include "platform/smb/SmbRegistry.h"
#include "platform/smb/SmbServiceControl.h"

namespace vn::smb {

// Everything the program asks of other computers, over SMB and MS-RPC.
// Credentials come from the environment (Kerberos ticket, authentication
// file) unless set here. libsmbclient runs in helper processes (HelperPool)
// and reads its own client configuration there ($HOME/.smb/smb.conf, else
// the system's).
class SmbBackend {
public:
    SmbBackend() = default;
    explicit SmbBackend(const SmbCredentials& credentials, HelperPoolOptions options = {})
        : connector_(credentials, std::move(options)) {}

    Registry& registry() { return registry_; }
    NetInfo& netInfo() { return netInfo_; }
    SmbNetworkBrowser& browser() { return browser_; }
    ServiceControl& services() { return services_; }
    Accounts& accounts() { return accounts_; }

    // --user/--domain with a password.
    void SetPassword(std::string_view user, std::string_view password, std::string_view domain);
    // --authfile: 2 when unreadable, 87 when it names no user.
    [[nodiscard]] Status SetAuthFile(const std::string& path);
    // Credentials chosen elsewhere (the keyring entry, the window's dialog).
    void SetCredentials(const SmbCredentials& credentials) { connector_.SetCredentials(credentials); }
    // --kerberos: use the ticket cache, keeping any user and password as fallback.
    void SetUseKerberos(bool use);

    // Who we are towards other computers now.
    SmbCredentials Credentials() const { return connector_.Credentials(); }

    // The helper processes that make the remote calls.
    HelperPool& Helpers() { return connector_.Pool(); }

private:
    SmbConnector connector_;
    SmbRegistry registry_{connector_};
    SmbNetInfo netInfo_{connector_};
    SmbNetworkBrowser browser_{connector_};
    SmbServiceControl services_{connector_};
    SmbAccounts accounts_{connector_};
};

}  // namespace vn::smb
