#include "cli/CommandTable.h"

#include <algorithm>
#include <array>
#include <limits>

#include "cli/Commands.h"

namespace vn::cli {
namespace {

constexpr std::size_t kMany = std::numeric_limits<std::size_t>::max();

constexpr std::array<CommandSpec, 10> kCommands{{
    {"", "products", 0, 0, false, "", "the product catalogue",
     "Prints each product the probe looks for, in catalogue order:\n"
     "{\"name\",\"service\",\"path\",\"icon\"}.\n",
     RunProducts},
    {"", "probe", 1, kMany, false, "NAME...", "examine computers",
     "Examines each computer through its remote registry and server service and\n"
     "prints {\"name\",\"ip\",\"os\",\"description\",\"server\",\"error\",\"products\"}.\n"
     "The inventory is not changed.\n",
     RunProbe},
    {"", "policies", 1, 1, false, "NAME", "the Vantor group policies in effect on a computer",
     "Reads the Vantor policies of the computer and of the user sitting at it, and\n"
     "prints how they combine: {\"computer\",\"workgroup\",\"user\",\"preference\",\n"
     "\"message\",\"policies\"}, each policy {\"feature\",\"value\",\"computer\",\"user\",\n"
     "\"result\"}. Seeing who is logged on there needs an administrator of that\n"
     "computer.\n",
     RunPolicies},
    {"", "services", 1, 4, false, "NAME [start|stop PRODUCT | startup PRODUCT TYPE]",
     "the remote access services of a computer",
     "Without more words, prints each remote access service found on the computer:\n"
     "{\"product\",\"service\",\"startup\",\"state\"}. \"start\" and \"stop\" start or stop\n"
     "the service of PRODUCT (its display name or service name; the maker's own\n"
     "maintenance service first), \"startup\" sets its startup type TYPE: automatic,\n"
     "manual or disabled. Needs an administrator of that computer.\n",
     RunServices},
    {"inventory", "list", 0, 0, false, "", "the saved tree, one node per line",
     "Prints every node of the saved tree in tree order: {\"path\",\"folder\"} and, for\n"
     "a folder, \"expanded\", for a computer the fields of probe.\n",
     RunInventoryList},
    {"inventory", "import", 1, 1, true, "FILE [--folder PATH]", "examine the names of a list file and add them",
     "Reads the computer names of FILE as the Import command does, examines them\n"
     "and adds them under the folder PATH (created when missing; the top level\n"
     "without --folder). Computers already there take the new results. Saves the\n"
     "tree and prints the computers added.\n",
     RunInventoryImport},
    {"inventory", "rescan", 0, 1, false, "[PATH]", "examine the saved computers again",
     "Examines again every computer below the folder PATH, the computer PATH, or\n"
     "every computer of the tree; saves the tree and prints the computers.\n",
     RunInventoryRescan},
    {"inventory", "export", 1, 1, false, "FILE", "write the computer list file",
     "Writes every computer of the tree to FILE, one line each: the name and the\n"
     "installed products.\n",
     RunInventoryExport},
    {"inventory", "add-folder", 1, 1, false, "PATH", "create a folder",
     "Creates the folder PATH and every missing folder above it; saves the tree and\n"
     "prints the folders created.\n",
     RunInventoryAddFolder},
    {"inventory", "remove", 1, 1, false, "PATH", "remove a folder with its contents, or a computer",
     "Removes the node PATH with everything below it; saves the tree and prints the\n"
     "nodes removed.\n",
     RunInventoryRemove},
}};

constexpr std::string_view kOptionsHelp =
    "Options:\n"
    "  --user DOMAIN\\USER  log on to other computers as this user; the password is\n"
    "                      read from NETWARDEN_PASSWORD or asked on the terminal\n"
    "  --authfile FILE     credentials from FILE (username =, password =, domain =)\n"
    "  --kerberos          use the Kerberos ticket cache\n"
    "  -v, --verbose       status lines on standard error\n"
    "  -h, --help          help; after a command, help on that command\n";

constexpr std::string_view kPathHelp =
    "A PATH names a node by the names from the top of the tree down to it, joined\n"
    "with \"/\"; case does not matter.\n";

constexpr std::string_view kExitHelp =
    "Exit status: 0 when everything asked was done and every computer examined,\n"
    "1 when a computer could not be examined or something asked failed, 2 on bad\n"
    "usage.\n";

std::string Synopsis(const CommandSpec& command) {
    std::string text(command.group);
    if (!text.empty())
        text += ' ';
    text += command.name;
    if (!command.operands.empty())
        text += ' ' + std::string(command.operands);
    return text;
}

std::string CommandList(std::string_view group) {
    std::string text;
    for (const CommandSpec& command : kCommands) {
        if (!group.empty() && command.group != group)
            continue;
        std::string line = "  " + Synopsis(command);
        line.resize(std::max<std::size_t>(line.size() + 2, 40), ' ');
        text += line + std::string(command.summary) + '\n';
    }
    return text;
}

}  // namespace

std::span<const CommandSpec> AllCommands() { return kCommands; }

const CommandSpec* FindCommand(const std::vector<std::string>& words) {
    for (const CommandSpec& command : kCommands) {
        if (command.group.empty()) {
            if (!words.empty() && words[0] == command.name)
                return &command;
        } else if (words.size() >= 2 && words[0] == command.group && words[1] == command.name) {
            return &command;
        }
    }
    return nullptr;
}

bool IsCommandGroup(std::string_view word) {
    for (const CommandSpec& command : kCommands) {
        if (!command.group.empty() && command.group == word)
            return true;
    }
    return false;
}

std::string ProgramUsage() {
    return "Usage: netwarden [OPTIONS] COMMAND [ARGUMENTS]\n"
           "\n"
           "Examines the computers of a Windows network and keeps the inventory that\n"
           "VtrNetwarden shows. Results are printed as one JSON object per line.\n"
           "The inventory is the current user's saved tree; when netwarden and a running\n"
           "VtrNetwarden both change it, the one that saves last wins.\n"
           "\n"
           "Commands:\n" +
           CommandList("") + "\n" + std::string(kOptionsHelp) + "\n" + std::string(kPathHelp) + "\n" +
           std::string(kExitHelp);
}

std::string GroupUsage(std::string_view group) {
    return "Usage: netwarden [OPTIONS] " + std::string(group) + " COMMAND [ARGUMENTS]\n\nCommands:\n" +
           CommandList(group) + "\n" + std::string(kOptionsHelp) + "\n" + std::string(kPathHelp);
}

std::string CommandUsage(const CommandSpec& command) {
    std::string text = "Usage: netwarden [OPTIONS] " + Synopsis(command) + "\n\n" + std::string(command.details) +
                       "\n" + std::string(kOptionsHelp);
    if (command.group == "inventory")
        text += "\n" + std::string(kPathHelp);
    return text;
}

}  // namespace vn::cli
