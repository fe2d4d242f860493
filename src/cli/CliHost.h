#pragma once

#include <chrono>
#include <ostream>
#include <string>
#include <string_view>

#include "catalogue/ProductCatalogue.h"
#include "cli/CommandLine.h"
#include "credentials/CredentialKeyring.h"
#include "platform/Platform.h"

namespace vn::cli {

// What a netwarden run needs from its surroundings: the program gives it the
// system platform, the catalogue beside the program and the process's
// streams; tests give it a fake network and string streams.
class CliHost {
public:
    virtual ~CliHost() = default;

    virtual Platform& platform() = 0;
    // Loaded on first use, so a bad command line reads nothing.
    virtual const ProductCatalogue& catalogue() = 0;
    // Sets up the credentials the options ask for (--user, --authfile,
    // --kerberos). False, with the reason written to err(), when they cannot
    // be used.
    virtual bool ApplyCredentials(const CommandLine& commandLine) = 0;
    // The desktop's keyring, where `credentials set` keeps the identity.
    virtual CredentialKeyring& keyring() = 0;
    // A password: asked on the terminal without echo when standard input is
    // one, else the first line of standard input. False when none was given.
    virtual bool ReadPassword(std::string_view prompt, std::string& password) = 0;
    // How long the network scan's WS-Discovery waits for answers, and
    // whether each answer is told on err().
    virtual void PrepareWsd(std::chrono::milliseconds wait, bool listAnswerers) = 0;

    virtual std::ostream& out() = 0;  // JSON lines
    virtual std::ostream& err() = 0;  // usage, messages, status lines
    // The width of the terminal that err() writes to; 0 when it is none.
    virtual int ErrTerminalColumns() { return 0; }
};

}  // namespace vn::cli
