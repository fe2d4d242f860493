#include "credentials/IdentityOrder.h"

#include <sys/stat.h>

#include "platform/smb/pool/TicketPrincipal.h"

namespace vn {

TicketState TicketState::FromEnvironment() {
    TicketState ticket;
    ticket.exists = smb::SmbCredentials::TicketCacheExists();
    if (ticket.exists)
        ticket.principal = smb::TicketPrincipal();
    return ticket;
}

std::string AccountOf(const smb::SmbCredentials& credentials) {
    return credentials.Domain().empty() ? credentials.User() : credentials.Domain() + "\\" + credentials.User();
}

ChosenIdentity ChooseStoredIdentity(const TicketState& ticket, CredentialKeyring& keyring,
                                    const std::string& authFile) {
    ChosenIdentity chosen;
    const Status loaded = keyring.Load(chosen.credentials, chosen.inUse.keyringWhy);
    if (loaded == ERROR_SUCCESS) {
        chosen.inUse.source = IdentitySource::Keyring;
    } else {
        if (loaded == ERROR_NOT_FOUND)
            chosen.inUse.keyringWhy.clear();
        struct stat info {};
        // A file that cannot be read gives no password: the other computers
        // then refuse the logon and say so.
        if (!authFile.empty() && stat(authFile.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            smb::SmbCredentials::FromAuthFile(authFile, chosen.credentials) == ERROR_SUCCESS) {
            chosen.inUse.source = IdentitySource::File;
            chosen.inUse.file = authFile;
        }
    }
    if (chosen.inUse.source != IdentitySource::None)
        chosen.inUse.name = AccountOf(chosen.credentials);
    if (ticket.exists) {
        chosen.credentials.SetUseKerberos(true);
        chosen.inUse.source = IdentitySource::Kerberos;
        chosen.inUse.name = ticket.principal;
    }
    return chosen;
}

std::string DescribeIdentity(const IdentityInUse& inUse) {
    switch (inUse.source) {
    case IdentitySource::Kerberos:
        return inUse.name.empty() ? "a Kerberos ticket" : "the Kerberos ticket of " + inUse.name;
    case IdentitySource::CommandLine: return inUse.name + ", given on the command line";
    case IdentitySource::Entered: return inUse.name + ", entered for this session";
    case IdentitySource::Keyring: return inUse.name + ", from the keyring";
    case IdentitySource::File: return inUse.name + ", from the credentials file " + inUse.file;
    case IdentitySource::None: break;
    }
    return "none: computers are examined anonymously";
}

}  // namespace vn
