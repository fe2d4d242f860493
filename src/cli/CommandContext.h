#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/CliHost.h"
#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"

namespace vn::cli {

// What a command receives: the host, its command line and its operands (the
// words after the command's own words).
struct CommandContext {
    CliHost& host;
    const CommandLine& line;
    std::vector<std::string> operands;
    std::string usage;  // the command's help, for BadUsage

    // Sets up the credentials of the command line; called by the commands
    // that reach other computers once their own arguments are found good, so
    // nobody is asked for a password for a command that cannot run. False
    // (reason written) when they cannot be used.
    bool UseCredentials() const { return host.ApplyCredentials(line); }

    // Writes the reason and the command's help to standard error and gives
    // kExitUsage.
    int BadUsage(std::string_view reason) const;

    // Writes "netwarden: message" to standard error, made safe for a
    // terminal, and gives kExitIncomplete.
    int Fail(std::string_view message) const;
    // The same without changing the result.
    void Warn(std::string_view message) const;
    // A status line on standard error when --verbose was given.
    void Status(std::string_view line) const;
    // The width of the command's live progress line: 0 (none) with --quiet
    // or when standard error is not a terminal.
    int ProgressColumns() const { return line.quiet ? 0 : host.ErrTerminalColumns(); }
};

}  // namespace vn::cli
