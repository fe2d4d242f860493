#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Status.h"
#include "platform/directory/DirectoryOptions.h"
#include "platform/smb/pool/SmbCredentials.h"

typedef struct ldap LDAP;

namespace vn::directory {

// One entry of a search, with the attributes the browser asks for.
struct DirectoryEntry {
    std::string dn;
    std::vector<std::string> objectClasses;
    std::string dnsHostName;
    std::string userAccountControl;
};

// What one page of a search may still hold: its entries and their bytes.
struct PageBudget {
    std::size_t entriesLeft;
    std::size_t bytesLeft;
    // Counts the entry against the budget; false when it does not fit.
    bool Take(const DirectoryEntry& entry);
};

// One logged-on connection to a domain controller through OpenLDAP's client
// library. A handle belongs to one thread at a time; every call ends within
// the options' call limit (or the thread's remote deadline).
class LdapSession {
public:
    LdapSession() = default;
    ~LdapSession();
    LdapSession(const LdapSession&) = delete;
    LdapSession& operator=(const LdapSession&) = delete;

    // Connects to the first of hosts that answers and logs on: with the
    // Kerberos ticket (SASL GSSAPI, signed and sealed) when the credentials
    // ask for it and a ticket cache exists, else with the user and password
    // by a simple bind inside StartTLS. 1312 when there is neither a ticket
    // nor a password, 5 when the directory refuses the logon, 53 when no
    // host answers.
    [[nodiscard]] Status Open(const std::vector<std::string>& hosts, const std::string& dnsDomain,
                              const smb::SmbCredentials& credentials, const DirectoryOptions& options);

    // One page of a one-level search below base for the units, containers
    // and computers a browser shows; cookie carries the position from page
    // to page and comes back empty after the last. A page of more entries
    // than the options' page size, or of more bytes than their bound, is
    // given up with ERROR_NOT_ENOUGH_MEMORY.
    [[nodiscard]] Status SearchPage(const std::string& base, std::string& cookie, std::vector<DirectoryEntry>& entries);

private:
    [[nodiscard]] Status Connect(const std::string& host, const std::string& dnsDomain,
                                 const smb::SmbCredentials& credentials);
    // A fresh handle for uri with the protocol version and time bounds set.
    [[nodiscard]] Status Initialize(const std::string& uri);
    void Close();

    LDAP* ld_ = nullptr;
    DirectoryOptions options_;
};

// An LDAP result code as the Windows status the browsing callers expect.
Status LdapStatus(int ldapResult);

}  // namespace vn::directory
