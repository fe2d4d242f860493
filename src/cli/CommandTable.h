#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandContext.h"

namespace vn::cli {

// The options that only some commands take.
enum CommandOption : unsigned {
    kFolderOption = 1,     // --folder PATH
    kEraseOption = 2,      // --erase
    kNoResolveOption = 4,  // --no-resolve
    kDeployOptions = 8,    // --port N, --path P, --settings, --file LIST
    kFastOptions = 16,     // --fast, --parallel N, --ports LIST
    kWsdOptions = 32,      // --wsd-wait MS
};

// One command of netwarden: its words ("inventory", "import"), how many
// operands it takes, and its help.
struct CommandSpec {
    std::string_view group;  // "", "inventory" or "scan"
    std::string_view name;
    std::size_t minOperands;
    std::size_t maxOperands;
    unsigned options;           // CommandOption bits
    std::string_view operands;  // as shown in the synopsis
    std::string_view summary;   // one line for the command list
    std::string_view details;   // the command's own help
    int (*run)(CommandContext&);

    std::size_t WordCount() const { return group.empty() ? 1 : 2; }
};

std::span<const CommandSpec> AllCommands();

// The command named by the first words; null when there is none.
const CommandSpec* FindCommand(const std::vector<std::string>& words);

// Whether word names a group of commands ("inventory").
bool IsCommandGroup(std::string_view word);

// The commands that take an option, by their words: "scan network and scan
// subnet".
std::string CommandsTaking(CommandOption option);

// "inventory import FILE [--folder PATH]"; "-v, --verbose"; "--user DOMAIN\\USER".
std::string Synopsis(const CommandSpec& command);
std::string OptionSynopsis(const OptionSpec& option);

// Texts --help and the manual page share.
std::string_view ProgramDescription();
std::string_view PathHelp();
std::string_view ExitStatusHelp();

// Help texts: the whole program, a group of commands, one command.
std::string ProgramUsage();
std::string GroupUsage(std::string_view group);
std::string CommandUsage(const CommandSpec& command);

}  // namespace vn::cli
