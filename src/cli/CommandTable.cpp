#include "cli/CommandTable.h"

#include <algorithm>
#include <array>
#include <limits>

#include "cli/Commands.h"

namespace vn::cli {
namespace {

constexpr std::size_t kMany = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kSummaryColumn = 40;

constexpr std::array<CommandSpec, 18> kCommands{{
    {"", "products", 0, 0, 0, "", "the product catalogue",
     "Prints each product the probe looks for, in catalogue order:\n"
     "{\"name\",\"service\",\"path\",\"icon\"}.\n",
     RunProducts},
    {"", "probe", 1, kMany, 0, "NAME...", "examine computers",
     "Examines each computer through its remote registry and server service and\n"
     "prints {\"name\",\"ip\",\"os\",\"description\",\"server\",\"error\",\"products\"}.\n"
     "The inventory is not changed.\n",
     RunProbe},
    {"", "policies", 1, 1, 0, "NAME", "the Vantor group policies in effect on a computer",
     "Reads the Vantor policies of the computer and of the user sitting at it, and\n"
     "prints how they combine: {\"computer\",\"workgroup\",\"user\",\"preference\",\n"
     "\"message\",\"policies\"}, each policy {\"feature\",\"value\",\"computer\",\"user\",\n"
     "\"result\"}. Seeing who is logged on there needs an administrator of that\n"
     "computer.\n",
     RunPolicies},
    {"", "services", 1, 4, 0, "NAME [start|stop PRODUCT | startup PRODUCT TYPE]",
     "the remote access services of a computer",
     "Without more words, prints each remote access service found on the computer:\n"
     "{\"product\",\"service\",\"startup\",\"state\"}. \"start\" and \"stop\" start or stop\n"
     "the service of PRODUCT (its display name or service name; the maker's own\n"
     "maintenance service first), \"startup\" sets its startup type TYPE: automatic,\n"
     "manual or disabled. Needs an administrator of that computer.\n",
     RunServices},
    {"", "deploy", 0, kMany, kDeployOptions, "[--port N] [--path P] [--settings] (NAME... | --file LIST)",
     "install the Vantor host on computers",
     "Runs the deployment tool of the Vantor host installed here (see deploy-tool)\n"
     "once for each computer, in the order given, to install the host there with\n"
     "port N (2002 without --port) into the folder P of that computer (without\n"
     "--path, the setting DefaultDestinationPath, else C:\\Program Files\\Vantor\\).\n"
     "--settings copies this computer's Vantor settings to each computer after\n"
     "installing. --file LIST reads the names from LIST, one a line.\n"
     "Every line of the tool goes to standard output as it comes, then a summary.\n"
     "Ctrl+C stops after the tool's current run, asking first on a terminal; a\n"
     "second Ctrl+C before that ends the tool. Exit status 1 when a line of the\n"
     "tool reports an error, the run stopped or the tool could not be run.\n",
     RunDeploy},
    {"", "deploy-tool", 0, 1, 0, "[PATH]", "show or record the Vantor deployment tool",
     "Prints {\"tool\",\"directory\"}: the deployment tool Vantor.exe of the Vantor\n"
     "host installed on this computer, as this computer's machine hive records it\n"
     "(ImagePath of the host's service). With PATH (the tool, or its folder)\n"
     "records it there first; writing the machine hive needs root.\n",
     RunDeployTool},
    {"inventory", "list", 0, 0, 0, "", "the saved tree, one node per line",
     "Prints every node of the saved tree in tree order: {\"path\",\"folder\"} and, for\n"
     "a folder, \"expanded\", for a computer the fields of probe.\n",
     RunInventoryList},
    {"inventory", "import", 1, 1, kFolderOption, "FILE [--folder PATH]",
     "examine the names of a list file and add them",
     "Reads the computer names of FILE as the Import command does, examines them\n"
     "and adds them under the folder PATH (created when missing; the top level\n"
     "without --folder). Computers already there take the new results. Saves the\n"
     "tree and prints the computers added.\n",
     RunInventoryImport},
    {"inventory", "rescan", 0, 1, 0, "[PATH]", "examine the saved computers again",
     "Examines again every computer below the folder PATH, the computer PATH, or\n"
     "every computer of the tree; saves the tree and prints the computers.\n",
     RunInventoryRescan},
    {"inventory", "export", 1, 1, 0, "FILE", "write the computer list file",
     "Writes every computer of the tree to FILE, one line each: the name and the\n"
     "installed products.\n",
     RunInventoryExport},
    {"inventory", "add-folder", 1, 1, 0, "PATH", "create a folder",
     "Creates the folder PATH and every missing folder above it; saves the tree and\n"
     "prints the folders created.\n",
     RunInventoryAddFolder},
    {"inventory", "rename-folder", 2, 2, 0, "PATH NEWNAME", "rename a folder",
     "Gives the folder PATH the name NEWNAME, which follows the rules of the Add\n"
     "Folder dialog. When a folder of that name already stands beside it, the\n"
     "folder's content moves into that one, merging as a drop would. Saves the tree\n"
     "and prints the folder with what it holds.\n",
     RunInventoryRenameFolder},
    {"inventory", "remove", 1, 1, 0, "PATH", "remove a folder with its contents, or a computer",
     "Removes the node PATH with everything below it; saves the tree and prints the\n"
     "nodes removed.\n",
     RunInventoryRemove},
    {"scan", "network", 1, 1, kFolderOption | kEraseOption | kWsdOptions,
     "NAME [--folder PATH] [--erase] [--wsd-wait MS]", "browse the Windows network and examine its computers",
     "Browses the Windows network from NAME, a domain or workgroup, a network\n"
     "provider, or \"entire network\" for all of it, depth first. Every computer the\n"
     "network browser lists is examined and printed as probe prints it, as soon as\n"
     "it is placed; the containers become folders. The \"Web Services Discovery\"\n"
     "provider, and a workgroup or domain NAME, take in the computers that answer\n"
     "WS-Discovery (IPv4 and IPv6, or announce themselves with a Hello) within\n"
     "--wsd-wait milliseconds (2000 without it), examined at the IPv4 address they\n"
     "answered from, or by name when they have none; --verbose lists which\n"
     "answered. Everything goes under a folder named NAME as typed, at the top\n"
     "level or in the folder PATH (made when missing); a scan of the same name\n"
     "again updates those folders in place.\n"
     "A NAME that holds a backslash or runs over 255 bytes is refused: no folder\n"
     "of the saved tree could have it. With --erase the saved tree is emptied\n"
     "first. Ctrl+C stops the scan after the computer being examined. The tree is\n"
     "saved at the end, also after a stop or a failure.\n",
     RunScanNetwork},
    {"scan", "subnet", 1, 2, kFolderOption | kNoResolveOption | kFastOptions,
     "(A.B.C.D/BITS | ADDRESS MASK | FROM-TO) [--no-resolve] [--folder PATH] [--fast [--parallel N] [--ports LIST]]",
     "find and examine the computers of an address range",
     "Tests every address of the range for a computer that answers on TCP port 139\n"
     "(NetBIOS), up to 63 at once, 5 seconds each at most; examines each one that\n"
     "does and prints it as probe prints it, in the order the tests end. A range\n"
     "from a network address (192.168.1.0/24, or 192.168.1.0 255.255.255.0) skips\n"
     "the address ending in .0; FROM-TO gives the first and the last address.\n"
     "Computers are named by reverse lookup of their address, or by the address\n"
     "with --no-resolve or when it has no name, and go to the top level or into the\n"
     "folder PATH (made when missing). Ctrl+C stops the walk: the tests under way\n"
     "are finished, what was found is kept. The tree is saved at the end.\n"
     "With --fast the range is swept first, N connections at once (512 without\n"
     "--parallel, fewer when the limit of open files is lower), each allowed 1\n"
     "second at first and then the measured round trip plus four deviations\n"
     "(100 ms to 5 s), and an unanswered address is tried once more; only the\n"
     "addresses that accept on one of the ports of --ports (139 without it) are\n"
     "examined.\n",
     RunScanSubnet},
    {"credentials", "set", 1, 1, 0, "DOMAIN\\USER", "remember the network credentials in the keyring",
     "Asks for the password of DOMAIN\\USER (on the terminal without echo, else\n"
     "the first line of standard input; never on the command line) and keeps both\n"
     "in the desktop's keyring (the Secret Service of GNOME Keyring or KWallet),\n"
     "where VtrNetwarden finds them too. Prints the identity as show does.\n"
     "Exit status 1 when no keyring answers on the session bus: nothing is then\n"
     "written anywhere.\n",
     RunCredentialsSet},
    {"credentials", "show", 0, 0, 0, "", "the identity other computers see",
     "Prints the identity used towards other computers when no option gives one,\n"
     "by the order of use: a Kerberos ticket, the keyring's entry, the credentials\n"
     "file. {\"source\",\"identity\",\"description\",\"keyring\"}: source is\n"
     "kerberos, keyring, file or none; keyring says why the keyring could not be\n"
     "asked, null when it answered. No password is printed.\n",
     RunCredentialsShow},
    {"credentials", "forget", 0, 0, 0, "", "remove the network credentials from the keyring",
     "Removes the entry that credentials set or VtrNetwarden's Network Credentials\n"
     "dialog made in the keyring. Exit status 1 when the keyring cannot be asked.\n",
     RunCredentialsForget},
}};

constexpr std::size_t kOptionHelpColumn = 22;

constexpr std::string_view kDescription =
    "Finds and examines the computers of a Windows network and keeps the\n"
    "inventory that VtrNetwarden shows. Results are printed as one JSON object\n"
    "per line.\n"
    "The inventory is the current user's saved tree. A command that changes it\n"
    "reads, changes and saves it in one go; a running VtrNetwarden asks before it\n"
    "overwrites a tree saved after it loaded it.\n";

constexpr std::string_view kPathHelp =
    "A PATH names a node by the names from the top of the tree down to it, joined\n"
    "with \"/\"; case does not matter.\n";

constexpr std::string_view kExitHelp =
    "Exit status: 0 when everything asked was done and every computer examined,\n"
    "1 when a computer could not be examined or something asked failed, 2 on bad\n"
    "usage.\n";

// The options every command takes, as --help lists them.
std::string OptionsHelp() {
    std::string text = "Options:\n";
    for (const OptionSpec& option : AllOptions()) {
        if (option.commands != 0)
            continue;
        std::string line = "  " + OptionSynopsis(option);
        line.resize(std::max(line.size() + 2, kOptionHelpColumn), ' ');
        for (const char c : option.help)
            line += c == '\n' ? "\n" + std::string(kOptionHelpColumn, ' ') : std::string(1, c);
        text += line + '\n';
    }
    return text;
}

std::string CommandList(std::string_view group) {
    std::string text;
    for (const CommandSpec& command : kCommands) {
        if (!group.empty() && command.group != group)
            continue;
        // A synopsis too long for its column puts the summary on a line of its own.
        std::string line = "  " + Synopsis(command);
        if (line.size() + 2 > kSummaryColumn)
            line += "\n";
        line.resize(line.back() == '\n' ? line.size() + kSummaryColumn : kSummaryColumn, ' ');
        text += line + std::string(command.summary) + '\n';
    }
    return text;
}

}  // namespace

std::string OptionSynopsis(const OptionSpec& option) {
    std::string text;
    if (!option.shortName.empty())
        text += std::string(option.shortName) + ", ";
    text += option.name;
    if (!option.valueName.empty())
        text += ' ' + std::string(option.valueName);
    return text;
}

std::string Synopsis(const CommandSpec& command) {
    std::string text(command.group);
    if (!text.empty())
        text += ' ';
    text += command.name;
    if (!command.operands.empty())
        text += ' ' + std::string(command.operands);
    return text;
}

std::string_view ProgramDescription() { return kDescription; }
std::string_view PathHelp() { return kPathHelp; }
std::string_view ExitStatusHelp() { return kExitHelp; }

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

std::string CommandsTaking(CommandOption option) {
    std::vector<std::string> names;
    for (const CommandSpec& command : kCommands) {
        if (command.options & option)
            names.push_back(command.group.empty() ? std::string(command.name)
                                                  : std::string(command.group) + " " + std::string(command.name));
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

std::string ProgramUsage() {
    return "Usage: netwarden [OPTIONS] COMMAND [ARGUMENTS]\n\n" + std::string(kDescription) + "\nCommands:\n" +
           CommandList("") + "\n" + OptionsHelp() + "\n" + std::string(kPathHelp) + "\n" + std::string(kExitHelp);
}

std::string GroupUsage(std::string_view group) {
    return "Usage: netwarden [OPTIONS] " + std::string(group) + " COMMAND [ARGUMENTS]\n\nCommands:\n" +
           CommandList(group) + "\n" + OptionsHelp() + "\n" + std::string(kPathHelp);
}

std::string CommandUsage(const CommandSpec& command) {
    std::string text = "Usage: netwarden [OPTIONS] " + Synopsis(command) + "\n\n" + std::string(command.details) +
                       "\n" + OptionsHelp();
    if (command.group == "inventory" || (command.options & kFolderOption))
        text += "\n" + std::string(kPathHelp);
    return text;
}

}  // namespace vn::cli
