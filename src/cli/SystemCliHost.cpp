#include "cli/SystemCliHost.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>

#include "cli/AccountName.h"
#include "cli/EnvironmentSecret.h"
#include "cli/TerminalPassword.h"
#include "cli/TerminalText.h"
#include "credentials/IdentityOrder.h"
#include "platform/NoCoreDumps.h"
#include "platform/SecretFileCheck.h"
#include "platform/SystemErrorText.h"
#include "platform/smb/SmbBackend.h"
#include "platform/wsd/WsdBrowser.h"

namespace vn::cli {
namespace {

constexpr const char* kPasswordVariable = "NETWARDEN_PASSWORD";

void Wipe(std::string& secret) {
    for (char& c : secret)
        reinterpret_cast<volatile char&>(c) = '\0';
    secret.clear();
}

}  // namespace

const ProductCatalogue& SystemCliHost::catalogue() {
    // The window program's catalogue: VtrNetwarden.ini beside the program, or
    // installed (CatalogueFilePath).
    // A missing file is reported on standard error, as the window program
    // shows it in a message box.
    if (!catalogueLoaded_) {
        GlobalCatalogue().Load();
        catalogueLoaded_ = true;
    }
    return GlobalCatalogue();
}

void SystemCliHost::WarnIfUnprotected(const std::string& credentialsFile) {
    if (const std::string warning = UnprotectedSecretFileWarning(credentialsFile); !warning.empty())
        err() << "netwarden: " << TerminalText(warning) << '\n';
}

bool SystemCliHost::ApplyCredentials(const CommandLine& commandLine) {
    // The file the credentials come from: the one named, or without a user
    // the default one (read as the platform started).
    if (commandLine.authFile)
        WarnIfUnprotected(*commandLine.authFile);
    else if (!commandLine.user)
        WarnIfUnprotected(smb::SmbCredentials::DefaultAuthFilePath());
    if (commandLine.authFile) {
        const Status status = platform_.Remote().SetAuthFile(*commandLine.authFile);
        if (status != ERROR_SUCCESS) {
            err() << "netwarden: " << TerminalText(*commandLine.authFile)
                  << (status == ERROR_INVALID_PARAMETER ? ": names no user\n" : ": cannot be read\n");
            return false;
        }
    }
    if (commandLine.user && !ApplyUser(*commandLine.user))
        return false;
    if (!commandLine.user && !commandLine.authFile) {
        // The keyring's entry goes before the default file (read as the
        // platform started); a keyring that cannot be asked is passed over.
        ChosenIdentity stored =
            ChooseStoredIdentity(TicketState::FromEnvironment(), keyring_, smb::SmbCredentials::DefaultAuthFilePath());
        platform_.Remote().SetCredentials(stored.credentials);
        if (commandLine.verbose)
            err() << "credentials: " << TerminalText(DescribeIdentity(stored.inUse)) << '\n' << std::flush;
    }
    if (commandLine.kerberos) {
        // Without a ticket every computer and the directory would refuse us
        // one by one; a password, when there is one, is still tried.
        if (!smb::SmbCredentials::TicketCacheExists() && platform_.Remote().Credentials().Password().empty()) {
            err() << "netwarden: --kerberos: there is no Kerberos ticket (KRB5CCNAME); get one with kinit first\n";
            return false;
        }
        platform_.Remote().SetUseKerberos(true);
    }
    return true;
}

bool SystemCliHost::ReadPassword(std::string_view prompt, std::string& password) {
    if (isatty(STDIN_FILENO))
        return ReadPasswordFromTerminal(prompt, password);
    if (!std::getline(std::cin, password))
        return false;
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    return true;
}

void SystemCliHost::PrepareWsd(std::chrono::milliseconds wait, bool listAnswerers) {
    platform_.Wsd().SetWait(wait);
    if (!listAnswerers)
        return;
    platform_.Wsd().SetAnswerLog([this](const wsd::WsdAnswer& answer) {
        std::string line = "WS-Discovery: " + wsd::FormatPeer(answer.source) + " answered (" + answer.endpoint + "): ";
        if (answer.status == ERROR_SUCCESS)
            line += answer.computer.name + ", " + (answer.computer.domain ? "domain " : "workgroup ") +
                    answer.computer.group;
        else
            line += "not named, " + SystemErrorText(answer.status);
        err() << TerminalText(line) << '\n' << std::flush;
    });
}

bool SystemCliHost::ApplyUser(const std::string& account) {
    const AccountName name = SplitAccountName(account);
    const NoCoreDumps noCoreDumps;  // the password is in memory from here on
    std::string password;
    if (!TakeEnvironmentSecret(kPasswordVariable, password) &&
        !ReadPasswordFromTerminal("Password for " + TerminalText(account) + ": ", password)) {
        err() << "netwarden: --user needs a password: set " << kPasswordVariable << " or run on a terminal\n";
        return false;
    }
    platform_.Remote().SetPassword(name.user, password, name.domain);
    Wipe(password);
    return true;
}

int SystemCliHost::ErrTerminalColumns() {
    if (isatty(STDERR_FILENO) != 1)
        return 0;
    winsize size{};
    // A terminal that does not tell its width is taken as the classic 80.
    return ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

}  // namespace vn::cli
