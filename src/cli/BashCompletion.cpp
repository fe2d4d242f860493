#include "cli/BashCompletion.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/CommandTable.h"

namespace vn::cli {
namespace {

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

    return "# bash completion for netwarden; generated from its command table.\n"
           "_netwarden() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    case $prev in\n"
           "        " + Alternatives(fileOptions) + ")\n"
           "            compopt -o filenames 2>/dev/null\n"
           "            mapfile -t COMPREPLY < <(compgen -f -- \"$cur\"); return ;;\n"
           "        " + Alternatives(valueOptions) + ") COMPREPLY=(); return ;;\n"
           "    esac\n"
           "    # The command words typed so far: options and their values left out.\n"
           "    local typed=() i skip=\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        if [[ -n $skip ]]; then skip=; continue; fi\n"
           "        case ${COMP_WORDS[i]} in\n"
           "            " + Alternatives(valueOptions) + ") skip=1 ;;\n"
           "            -*) ;;\n"
           "            *) typed+=(\"${COMP_WORDS[i]}\") ;;\n"
           "        esac\n"
           "    done\n"
           "    local command words= options=" + Joined(OptionsOf(0)) + " files=\n"
           "    case ${#typed[@]} in\n"
           "        0) words=" + Joined(topWords) + " ;;\n"
           "        1) case ${typed[0]} in\n" + groupCases +
           "           esac ;;\n"
           "    esac\n"
           "    case \"${typed[0]}\" in\n"
           "        " + Alternatives(groups) + ") command=\"${typed[0]} ${typed[1]}\" ;;\n"
           "        *) command=${typed[0]} ;;\n"
           "    esac\n"
           "    case $command in\n" + commandCases +
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        mapfile -t COMPREPLY < <(compgen -W \"$options\" -- \"$cur\")\n"
           "    elif [[ -n $words ]]; then\n"
           "        mapfile -t COMPREPLY < <(compgen -W \"$words\" -- \"$cur\")\n"
           "    elif [[ -n $files ]]; then\n"
           "        compopt -o filenames 2>/dev/null\n"
           "        mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
           "    else\n"
           "        COMPREPLY=()\n"
           "    fi\n"
           "}\n"
           "complete -F _netwarden netwarden\n";
}

}  // namespace vn::cli
