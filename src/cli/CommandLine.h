#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vn::cli {

// The words and options of one netwarden command line. Options may stand
// anywhere; "--" ends them, so that later words may begin with "-".
struct CommandLine {
    std::vector<std::string> words;       // command words, then operands
    std::optional<std::string> user;      // --user DOMAIN\USER
    std::optional<std::string> authFile;  // --authfile FILE
    std::optional<std::string> folder;    // --folder PATH
    std::optional<std::string> port;      // --port N
    std::optional<std::string> path;      // --path P
    std::optional<std::string> file;      // --file LIST
    std::optional<std::string> parallel;  // --parallel N
    std::optional<std::string> ports;     // --ports LIST
    std::optional<std::string> wsdWait;   // --wsd-wait MS
    bool settings = false;                // --settings
    bool kerberos = false;
    bool erase = false;      // --erase
    bool noResolve = false;  // --no-resolve
    bool fast = false;       // --fast
    bool verbose = false;
    bool quiet = false;
    bool help = false;
};

// One option: how it is written, which commands take it, its help, and the
// field of CommandLine it sets. The parser, the usage checks, --help, the
// manual page and the shell completion all read this one table.
struct OptionSpec {
    std::string_view name;       // "--user"
    std::string_view shortName;  // "-v", or empty
    std::string_view valueName;  // "DOMAIN\\USER"; empty for a flag
    unsigned commands;           // CommandOption bits of the commands that take it; 0: every command
    std::string_view help;       // the option list's lines, without their indent
    std::optional<std::string> CommandLine::*value = nullptr;  // set for an option with a value
    bool CommandLine::*flag = nullptr;                         // set for a flag

    bool GivenIn(const CommandLine& line) const { return value ? (line.*value).has_value() : line.*flag; }
};

std::span<const OptionSpec> AllOptions();

// Reads arguments (without the program name). False with a reason in error
// for an unknown option, an option without its value, or one given twice.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& result, std::string& error);

}  // namespace vn::cli
