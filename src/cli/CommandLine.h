#pragma once

#include <optional>
#include <string>
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
    bool settings = false;                // --settings
    bool kerberos = false;
    bool erase = false;      // --erase
    bool noResolve = false;  // --no-resolve
    bool verbose = false;
    bool help = false;
};

// Reads arguments (without the program name). False with a reason in error
// for an unknown option, an option without its value, or one given twice.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& result, std::string& error);

}  // namespace vn::cli
