#include "cli/Netwarden.h"

#include "cli/AccountName.h"
#include "cli/CommandTable.h"
#include "cli/ExitStatus.h"
#include "cli/TerminalText.h"

namespace vn::cli {
namespace {

// The help that fits the words given so far.
std::string UsageFor(const std::vector<std::string>& words) {
    if (const CommandSpec* command = FindCommand(words))
        return CommandUsage(*command);
    if (!words.empty() && IsCommandGroup(words[0]))
        return GroupUsage(words[0]);
    return ProgramUsage();
}

int BadUsage(CliHost& host, const std::string& reason, const std::vector<std::string>& words) {
    if (!reason.empty())
        host.err() << "netwarden: " << TerminalText(reason) << "\n\n";
    host.err() << UsageFor(words) << std::flush;
    return kExitUsage;
}

// Operand count and options that only some commands take.
std::string UsageProblem(const CommandSpec& command, const CommandLine& line,
                         const std::vector<std::string>& operands) {
    if (operands.size() < command.minOperands)
        return "missing argument";
    if (operands.size() > command.maxOperands)
        return "too many arguments";
    // An empty computer name would mean this computer; an empty path or file
    // name is a slip.
    for (const std::string& operand : operands) {
        if (operand.empty())
            return "an argument cannot be empty";
    }
    for (const OptionSpec& option : AllOptions()) {
        if (option.commands != 0 && option.GivenIn(line) && !(command.options & option.commands))
            return "option " + std::string(option.name) + " belongs to " +
                   CommandsTaking(static_cast<CommandOption>(option.commands));
    }
    if (line.user && SplitAccountName(*line.user).user.empty())
        return "option --user needs a user name";
    if (line.user && line.authFile)
        return "options --user and --authfile exclude each other";
    return {};
}

}  // namespace

int RunNetwarden(const std::vector<std::string>& arguments, CliHost& host) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(arguments, line, error))
        return BadUsage(host, error, line.words);

    const CommandSpec* command = FindCommand(line.words);
    if (command == nullptr) {
        const bool groupAlone = line.words.size() == 1 && IsCommandGroup(line.words[0]);
        if (line.help && (line.words.empty() || groupAlone)) {
            host.out() << UsageFor(line.words) << std::flush;
            return kExitDone;
        }
        if (line.words.empty() || groupAlone)
            return BadUsage(host, line.words.empty() ? "" : "missing command", line.words);
        const std::size_t unknownAt = IsCommandGroup(line.words[0]) ? 1 : 0;
        return BadUsage(host, "unknown command \"" + line.words[unknownAt] + "\"", line.words);
    }
    if (line.help) {
        host.out() << CommandUsage(*command) << std::flush;
        return kExitDone;
    }

    CommandContext context{host,
                           line,
                           {line.words.begin() + static_cast<std::ptrdiff_t>(command->WordCount()), line.words.end()},
                           CommandUsage(*command)};
    if (const std::string problem = UsageProblem(*command, line, context.operands); !problem.empty())
        return BadUsage(host, problem, line.words);
    const int result = command->run(context);
    // A full disk or a closed pipe must not pass for a complete answer.
    if (!host.out().flush())
        return context.Fail("could not write the output");
    return result;
}

}  // namespace vn::cli
