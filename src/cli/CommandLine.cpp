#include "cli/CommandLine.h"

#include <array>

namespace vn::cli {
namespace {

struct ValueOption {
    const char* name;
    std::optional<std::string> CommandLine::*field;
};

constexpr std::array<ValueOption, 6> kValueOptions{{
    {"--user", &CommandLine::user},
    {"--authfile", &CommandLine::authFile},
    {"--folder", &CommandLine::folder},
    {"--port", &CommandLine::port},
    {"--path", &CommandLine::path},
    {"--file", &CommandLine::file},
}};

struct FlagOption {
    const char* name;
    const char* shortName;
    bool CommandLine::*field;
};

constexpr std::array<FlagOption, 6> kFlagOptions{{
    {"--kerberos", nullptr, &CommandLine::kerberos},
    {"--erase", nullptr, &CommandLine::erase},
    {"--no-resolve", nullptr, &CommandLine::noResolve},
    {"--settings", nullptr, &CommandLine::settings},
    {"--verbose", "-v", &CommandLine::verbose},
    {"--help", "-h", &CommandLine::help},
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
        for (const FlagOption& flag : kFlagOptions) {
            if (name != flag.name && !(flag.shortName && name == flag.shortName))
                continue;
            if (equals != std::string::npos)
                return Fail("option " + name + " takes no value");
            result_.*flag.field = true;
            return true;
        }
        for (const ValueOption& option : kValueOptions) {
            if (name != option.name)
                continue;
            std::optional<std::string>& field = result_.*option.field;
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

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& result, std::string& error) {
    result = CommandLine{};
    return Parser(arguments, result, error).Run();
}

}  // namespace vn::cli
