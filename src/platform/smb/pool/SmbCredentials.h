#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/NoCoreDumps.h"
#include "platform/Status.h"

namespace vn::smb {

// Who we are towards remote hosts, the Linux way: a Kerberos ticket when the
// user has one, else a user, password and domain, usually from an
// authentication file in smbclient's -A format. The password stays in memory
// only, is wiped when dropped, and is never logged or written anywhere;
// while any credentials hold a password the process cannot be dumped.
class SmbCredentials {
public:
    SmbCredentials() = default;
    SmbCredentials(const SmbCredentials& other);
    SmbCredentials& operator=(const SmbCredentials& other);
    ~SmbCredentials();

    static SmbCredentials FromPassword(std::string_view user, std::string_view password, std::string_view domain);

    // Reads "username = ...", "password = ...", "domain = ..." lines; a user
    // written DOMAIN\user or DOMAIN/user carries its domain. 2 when the file
    // cannot be read, 87 when it names no user.
    [[nodiscard]] static Status FromAuthFile(const std::string& path, SmbCredentials& result);

    // What the program uses when nothing was set explicitly: the Kerberos
    // ticket cache when one exists, and the authentication file
    // ($NETWARDEN_AUTH_FILE, else $XDG_CONFIG_HOME/vantor-netwarden/credentials)
    // when it exists, as fallback or on its own.
    static SmbCredentials FromEnvironment();

    // The default authentication file's path.
    static std::string DefaultAuthFilePath();

    // True when a Kerberos credential cache is there to be used.
    static bool TicketCacheExists();

    const std::string& User() const { return user_; }
    const std::string& Password() const { return password_; }
    const std::string& Domain() const { return domain_; }
    bool UseKerberos() const { return useKerberos_; }
    void SetUseKerberos(bool use) { useKerberos_ = use; }

private:
    void Wipe();

    std::string user_;
    std::string password_;
    std::string domain_;
    bool useKerberos_ = false;
    std::optional<NoCoreDumps> noCoreDumps_;  // while password_ is not empty
};

}  // namespace vn::smb
