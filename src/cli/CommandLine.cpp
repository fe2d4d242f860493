#include "cli/CommandLine.h"

#include <array>

#include "cli/CommandTable.h"

namespace vn::cli {
namespace {

// Help texts are the lines of --help's option list, 80 columns wide with
// their 22-column indent.
constexpr std::array<OptionSpec, 17> kOptions{{
    {"--user", "", "DOMAIN\\USER", 0,
     "log on to other computers as this user; the password is\n"
     "read from NETWARDEN_PASSWORD or asked on the terminal",
     &CommandLine::user},
    {"--authfile", "", "FILE", 0, "credentials from FILE (username =, password =, domain =)", &CommandLine::authFile},
    {"--kerberos", "", "", 0, "use the Kerberos ticket cache", nullptr, &CommandLine::kerberos},
    {"--verbose", "-v", "", 0, "status lines on standard error", nullptr, &CommandLine::verbose},
    {"--quiet", "-q", "", 0, "no live progress line on a terminal", nullptr, &CommandLine::quiet},
    {"--help", "-h", "", 0, "help; after a command, help on that command", nullptr, &CommandLine::help},
    {"--folder", "", "PATH", kFolderOption, "the folder of the tree the computers go to", &CommandLine::folder},
    {"--erase", "", "", kEraseOption, "empty the saved tree first", nullptr, &CommandLine::erase},
    {"--no-resolve", "", "", kNoResolveOption, "name computers by address, without reverse lookup", nullptr,
     &CommandLine::noResolve},
    {"--fast", "", "", kFastOptions,
     "sweep the range first, many connections at once, then examine\n"
     "the addresses that answered",
     nullptr, &CommandLine::fast},
    {"--parallel", "", "N", kFastOptions, "connections in flight with --fast; 512 without it", &CommandLine::parallel},
    {"--ports", "", "LIST", kFastOptions, "the ports --fast tries, such as 139,445; 139 without it",
     &CommandLine::ports},
    {"--wsd-wait", "", "MS", kWsdOptions, "how long WS-Discovery's answers are awaited; 2000 without it",
     &CommandLine::wsdWait},
    {"--port", "", "N", kDeployOptions, "the Vantor host's port; 2002 without it", &CommandLine::port},
    {"--path", "", "P", kDeployOptions, "the folder the host goes to on each computer", &CommandLine::path},
    {"--settings", "", "", kDeployOptions, "copy this computer's Vantor settings after installing", nullptr,
     &CommandLine::settings},
    {"--file", "", "LIST", kDeployOptions, "read the computer names from LIST, one a line", &CommandLine::file},
}};

class Parser {
public:
    Parser(const std::vector<std::string>& arguments, CommandLine& result, std::string& error)
        : arguments_(arguments),
          result_(result),
          error_(error) {}

    bool Run() {
        bool optionsEnded = false;
        for (index_ = 0; index_ < arguments_.size(); ++index_) {
            const std::string& argument = arguments_[index_];
            if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
                result_.words.push_back(argument);
            } else if (argument == "--") {
                optionsEnded = true;
            } else if (!TakeOption(argument)) {
                return false;
            }
        }
        return true;
    }

private:
    bool TakeOption(const std::string& argument) {
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        for (const OptionSpec& option : kOptions) {
            if (name != option.name && !(!option.shortName.empty() && name == option.shortName))
                continue;
            if (option.flag) {
                if (equals != std::string::npos)
                    return Fail("option " + name + " takes no value");
                result_.*option.flag = true;
                return true;
            }
            std::optional<std::string>& field = result_.*option.value;
            if (field)
                return Fail("option " + name + " given twice");
            if (equals != std::string::npos) {
                field = argument.substr(equals + 1);
            } else if (index_ + 1 < arguments_.size()) {
                field = arguments_[++index_];
            } else {
                return Fail("option " + name + " needs a value");
            }
            if (field->empty())
                return Fail("option " + name + " needs a value");
            return true;
        }
        return Fail("unknown option " + name);
    }

    bool Fail(std::string reason) {
        error_ = std::move(reason);
        return false;
    }

    const std::vector<std::string>& arguments_;
    CommandLine& result_;
    std::string& error_;
    std::size_t index_ = 0;
};

}  // namespace

std::span<const OptionSpec> AllOptions() { return kOptions; }

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& result, std::string& error) {
    result = CommandLine{};
    return Parser(arguments, result, error).Run();
}

}  // namespace vn::cli
