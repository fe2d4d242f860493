#pragma once

#include <string>

#include "credentials/CredentialKeyring.h"
#include "platform/smb/pool/SmbCredentials.h"

namespace vn {

// Where the identity the programs present to other computers comes from, in
// the order of use: a Kerberos ticket, then credentials given explicitly
// (netwarden's --user or --authfile, the window's dialog for this session),
// then the keyring's entry, then the credentials file; else none.
enum class IdentitySource { Kerberos, CommandLine, Entered, Keyring, File, None };

struct IdentityInUse {
    IdentitySource source = IdentitySource::None;
    std::string name;        // the ticket's principal, or DOMAIN\user
    std::string file;        // the credentials file, for IdentitySource::File
    std::string keyringWhy;  // why the keyring could not be asked; empty when it answered
};

// A Kerberos ticket cache, and its principal when it can be read.
struct TicketState {
    bool exists = false;
    std::string principal;

    static TicketState FromEnvironment();
};

struct ChosenIdentity {
    smb::SmbCredentials credentials;
    IdentityInUse inUse;
};

// The identity when none was given explicitly: the ticket, with the keyring's
// entry or else the credentials file at authFile as its password fallback
// (and as the identity when there is no ticket).
ChosenIdentity ChooseStoredIdentity(const TicketState& ticket, CredentialKeyring& keyring, const std::string& authFile);

// "DOMAIN\user", or the user alone without a domain.
std::string AccountOf(const smb::SmbCredentials& credentials);

// One line for the credentials dialog and `netwarden credentials show`.
std::string DescribeIdentity(const IdentityInUse& inUse);

}  // namespace vn
