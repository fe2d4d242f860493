#include "cli/AccountName.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "credentials/IdentityOrder.h"
#include "platform/NoCoreDumps.h"

namespace vn::cli {
namespace {

std::string_view SourceName(IdentitySource source) {
    switch (source) {
    case IdentitySource::Kerberos: return "kerberos";
    case IdentitySource::CommandLine:
    case IdentitySource::Entered: return "given";
    case IdentitySource::Keyring: return "keyring";
    case IdentitySource::File: return "file";
    case IdentitySource::None: break;
    }
    return "none";
}

void WriteIdentity(std::ostream& out, const IdentityInUse& inUse) {
    JsonObjectWriter json(out);
    json.String("source", SourceName(inUse.source))
        .StringOrNull("identity",
                      inUse.source == IdentitySource::None ? std::nullopt : std::optional<std::string>(inUse.name))
        .String("description", DescribeIdentity(inUse))
        .StringOrNull("keyring",
                      inUse.keyringWhy.empty() ? std::nullopt : std::optional<std::string>(inUse.keyringWhy));
}

void WipeString(std::string& secret) {
    if (!secret.empty())
        explicit_bzero(secret.data(), secret.size());
    secret.clear();
}

}  // namespace

int RunCredentialsSet(CommandContext& context) {
    const std::string& account = context.operands.at(0);
    const AccountName name = SplitAccountName(account);
    if (name.user.empty())
        return context.BadUsage("the account names no user");
    const NoCoreDumps noCoreDumps;  // the password is in memory from here on
    std::string password;
    if (!context.host.ReadPassword("Password for " + account + ": ", password))
        return context.Fail("no password was given");
    const smb::SmbCredentials credentials = smb::SmbCredentials::FromPassword(name.user, password, name.domain);
    WipeString(password);
    std::string why;
    if (context.host.keyring().Save(credentials, why) != ERROR_SUCCESS)
        return context.Fail("the keyring cannot remember the credentials: " + why);
    WriteIdentity(context.host.out(), IdentityInUse{IdentitySource::Keyring, AccountOf(credentials), {}, {}});
    return kExitDone;
}

int RunCredentialsShow(CommandContext& context) {
    const ChosenIdentity chosen = ChooseStoredIdentity(TicketState::FromEnvironment(), context.host.keyring(),
                                                       smb::SmbCredentials::DefaultAuthFilePath());
    WriteIdentity(context.host.out(), chosen.inUse);
    return kExitDone;
}

int RunCredentialsForget(CommandContext& context) {
    std::string why;
    const Status status = context.host.keyring().Forget(why);
    if (status == ERROR_NOT_FOUND)
        context.Warn("the keyring holds no network credentials");
    else if (status != ERROR_SUCCESS)
        return context.Fail("the keyring cannot be asked: " + why);
    return kExitDone;
}

}  // namespace vn::cli
