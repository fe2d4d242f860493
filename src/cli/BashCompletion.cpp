#include "cli/BashCompletion.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/CommandTable.h"

namespace vn::cli {
namespace {

// The script, with @MARKS@ for what the tables fill in.
constexpr std::string_view kTemplate = R"(# bash completion for netwarden; generated from its command table.
_netwarden() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
        @FILE_OPTIONS@)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur"); return ;;
        @VALUE_OPTIONS@) COMPREPLY=(); return ;;
    esac
    # The command words typed so far: options and their values left out.
    local typed=() i skip=
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ -n $skip ]]; then skip=; continue; fi
        case ${COMP_WORDS[i]} in
            @VALUE_OPTIONS@) skip=1 ;;
            -*) ;;
            *) typed+=("${COMP_WORDS[i]}") ;;
        esac
    done
    local command words= options=@OPTIONS@ files=
    case ${#typed[@]} in
        0) words=@COMMANDS@ ;;
        1) case ${typed[0]} in
@GROUP_CASES@           esac ;;
    esac
    case "${typed[0]}" in
        @GROUPS@) command="${typed[0]} ${typed[1]}" ;;
        *) command=${typed[0]} ;;
    esac
    case $command in
@COMMAND_CASES@    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    elif [[ -n $words ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
    elif [[ -n $files ]]; then
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    else
        COMPREPLY=()
    fi
}
complete -F _netwarden netwarden
)";

bool NamesAFile(std::string_view valueOrOperand) {
    return valueOrOperand.starts_with("FILE") || valueOrOperand.starts_with("LIST");
}

// Names as one case pattern: a|b|c.
std::string Alternatives(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : "|") + name;
    return text;
}

// Space-separated words, as one bash word.
std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : " ") + word;
    return "'" + text + "'";
}

std::vector<std::string> OptionsOf(unsigned commandOptions) {
    std::vector<std::string> names;
    for (const OptionSpec& option : AllOptions()) {
        if (option.commands == 0 || (option.commands & commandOptions)) {
            if (!option.shortName.empty())
                names.emplace_back(option.shortName);
            names.emplace_back(option.name);
        }
    }
    return names;
}

}  // namespace

std::string BashCompletionScript() {
    std::vector<std::string> topWords, valueOptions, fileOptions;
    std::string groupCases, commandCases;
    std::vector<std::string> groups;
    for (const CommandSpec& command : AllCommands()) {
        const std::string_view first = command.group.empty() ? command.name : command.group;
        if (std::find(topWords.begin(), topWords.end(), first) == topWords.end())
            topWords.emplace_back(first);
        if (!command.group.empty() && std::find(groups.begin(), groups.end(), command.group) == groups.end()) {
            groups.emplace_back(command.group);
            std::vector<std::string> members;
            for (const CommandSpec& member : AllCommands()) {
                if (member.group == command.group)
                    members.emplace_back(member.name);
            }
            groupCases += "               " + std::string(command.group) + ") words=" + Joined(members) + " ;;\n";
        }
        const std::string key = command.group.empty() ? std::string(command.name)
                                                      : std::string(command.group) + " " + std::string(command.name);
        commandCases += "        '" + key + "') options=" + Joined(OptionsOf(command.options)) +
                        (NamesAFile(command.operands) ? "; files=1" : "") + " ;;\n";
    }
    for (const OptionSpec& option : AllOptions()) {
        if (option.valueName.empty())
            continue;
        valueOptions.emplace_back(option.name);
        if (NamesAFile(option.valueName))
            fileOptions.emplace_back(option.name);
    }

    std::string script(kTemplate);
    const std::pair<std::string_view, std::string> fills[] = {
        {"@FILE_OPTIONS@", Alternatives(fileOptions)},
        {"@VALUE_OPTIONS@", Alternatives(valueOptions)},
        {"@OPTIONS@", Joined(OptionsOf(0))},
        {"@COMMANDS@", Joined(topWords)},
        {"@GROUP_CASES@", groupCases},
        {"@GROUPS@", Alternatives(groups)},
        {"@COMMAND_CASES@", commandCases},
    };
    for (const auto& [mark, text] : fills) {
        for (std::size_t at; (at = script.find(mark)) != std::string::npos;)
            script.replace(at, mark.size(), text);
    }
    return script;
}

}  // namespace vn::cli
