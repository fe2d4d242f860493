#include "cli/ManualPages.h"

#include <array>

#include "cli/CommandLine.h"
#include "cli/CommandTable.h"

namespace vn::cli {
namespace {

enum Reader : unsigned { kCli = 1, kWindow = 2, kBoth = kCli | kWindow };

struct Entry {
    std::string_view name;
    unsigned readers;
    std::string_view text;
};

constexpr std::array<Entry, 7> kEnvironment{{
    {"NETWARDEN_USER_HIVE", kBoth,
     "The user hive (settings and saved tree) in place of $XDG_CONFIG_HOME/vantor-netwarden/user-hive.db."},
    {"NETWARDEN_MACHINE_HIVE", kBoth,
     "This computer's HKEY_LOCAL_MACHINE hive in place of /var/lib/vantor-netwarden/machine-hive.db."},
    {"NETWARDEN_AUTH_FILE", kBoth,
     "The credentials file for other computers in place of $XDG_CONFIG_HOME/vantor-netwarden/credentials."},
    {"NETWARDEN_PASSWORD", kCli,
     "The password for --user; taken out of the environment once read. Without it the password is asked on the "
     "terminal."},
    {"NETWARDEN_UPDATE_HOST", kWindow,
     "The maker's update host (host or host:port) asked for a newer version at start, in place of the value "
     "UpdateHost of Software\\Vantor Netwarden\\Settings (default secure.vantor.example); 127.0.0.1:9 keeps the "
     "question on this computer."},
    {"XDG_CONFIG_HOME", kBoth, "The folder of the user hive and the credentials file; ~/.config when unset."},
    {"HOME", kBoth, "The folder of the user's Samba client settings, .smb/smb.conf."},
}};

constexpr std::array<Entry, 7> kFiles{{
    {"$XDG_CONFIG_HOME/vantor-netwarden/user-hive.db", kBoth,
     "The user hive (HKEY_CURRENT_USER): settings, window geometry and the saved tree. An SQLite file, created "
     "readable by its owner only; two programs may use it at once."},
    {"/var/lib/vantor-netwarden/machine-hive.db", kBoth,
     "This computer's HKEY_LOCAL_MACHINE, where the Vantor deployment tool is recorded; read-only unless root, "
     "missing means empty."},
    {"$XDG_CONFIG_HOME/vantor-netwarden/credentials", kBoth,
     "Credentials for other computers when there is no Kerberos ticket cache, in smbclient's -A format "
     "(username = DOMAIN\\user, password = ..., domain = ...). Keep it readable by you only: the programs warn "
     "when others may read it."},
    {"$HOME/.smb/smb.conf, /etc/samba/smb.conf", kBoth,
     "The Samba client settings: name resolution, protocols, realm."},
    {"VtrNetwarden.ini", kBoth,
     "The product catalogue: the remote-access products looked for on each computer. Read beside the program, "
     "else from ../share/vantor-netwarden/ relative to the program's folder, where an installation puts it."},
    {"Vantor.adm, Vantor.admx, en-US/Vantor.adml, VtrNetwarden_GroupPolicies.pdf", kWindow,
     "The Vantor policy templates and the policy guide that View > Group Policy saves and opens; found as the "
     "catalogue is."},
    {"netwarden-smb-helper", kBoth,
     "The helper program that runs the SMB client library in processes of its own, up to 64 at once; beside the "
     "program, else in ../libexec/vantor-netwarden/ relative to the program's folder."},
}};

// Text for a man page: a backslash is printed as itself, a hyphen-minus stays
// one (options are copied from man pages), and no line may start a request.
std::string Roff(std::string_view text) {
    std::string out;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\''))
            out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

// The help's line breaks are for an 80-column terminal; a page fills its own.
std::string Filled(std::string_view text) {
    std::string out(text);
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    for (char& c : out) {
        if (c == '\n')
            c = ' ';
    }
    return Roff(out);
}

std::string Header(std::string_view title, std::string_view version) {
    return ".TH " + std::string(title) + " 1 \"\" \"Vantor Netwarden " + Roff(version) +
           "\" \"User Commands\"\n"
           // Names and paths must not be hyphenated, and a long JSON example is
           // no reason to stretch a line.
           ".nh\n.ad l\n";
}

std::string EntriesSection(std::string_view heading, const auto& entries, Reader reader) {
    std::string text = ".SH " + std::string(heading) + "\n";
    for (const Entry& entry : entries) {
        if (entry.readers & reader)
            text += ".TP\n.B " + Roff(entry.name) + "\n" + Roff(entry.text) + "\n";
    }
    return text;
}

std::string OptionItem(const OptionSpec& option, std::string_view suffix) {
    std::string text = ".TP\n.B " + Roff(OptionSynopsis(option)) + "\n" + Filled(option.help);
    return text + std::string(suffix) + "\n";
}

}  // namespace

std::string NetwardenManualPage(std::string_view version) {
    std::string page = Header("NETWARDEN", version);
    page += ".SH NAME\nnetwarden \\- examine the computers of a Windows network and keep their inventory\n";
    page += ".SH SYNOPSIS\n.B netwarden\n[\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGUMENTS\\fR]\n";
    page += ".SH DESCRIPTION\n" + Filled(ProgramDescription()) + "\n";
    page +=
        ".PP\nResults go to standard output; messages go to standard error, status lines only with "
        "\\fB\\-\\-verbose\\fR. On a terminal, the scans, imports, rescans and deployments keep one "
        "live progress line on standard error, cleared at the end (not with \\fB\\-\\-quiet\\fR).\n";
    page += ".SH COMMANDS\n";
    for (const CommandSpec& command : AllCommands())
        page += ".TP\n.B " + Roff(Synopsis(command)) + "\n" + Filled(command.details) + "\n";
    page += ".SH OPTIONS\nOptions may stand anywhere on the command line; \\fB\\-\\-\\fR ends them.\n";
    for (const OptionSpec& option : AllOptions()) {
        if (option.commands == 0)
            page += OptionItem(option, "");
    }
    page += ".SS Options of some commands\n";
    for (const OptionSpec& option : AllOptions()) {
        if (option.commands != 0)
            page += OptionItem(option, " (" + CommandsTaking(static_cast<CommandOption>(option.commands)) + ").");
    }
    page += ".SH \"INVENTORY PATHS\"\n" + Filled(PathHelp()) + "\n";
    page += ".SH \"EXIT STATUS\"\n" + Filled(ExitStatusHelp()) + "\n";
    page += EntriesSection("ENVIRONMENT", kEnvironment, kCli);
    page += EntriesSection("FILES", kFiles, kCli);
    page += ".SH \"SEE ALSO\"\n.BR VtrNetwarden (1)\n";
    return page;
}

std::string WindowProgramManualPage(std::string_view version) {
    std::string page = Header("VTRNETWARDEN", version);
    page += ".SH NAME\nVtrNetwarden \\- find, examine and manage the computers of a Windows network\n";
    page += ".SH SYNOPSIS\n.B VtrNetwarden\n";
    page +=
        ".SH DESCRIPTION\n"
        "The window program of Vantor Netwarden, for the people who manage Windows networks. It finds the "
        "computers of a Windows network by browsing the network or by walking an IPv4 range, examines each one "
        "through its remote registry and server services, keeps them in a folder tree that survives between "
        "runs, imports and exports computer lists, deploys the Vantor host, shows the Vantor group policies in "
        "effect for a computer and its user, and starts, stops and reconfigures remote-access services.\n"
        ".PP\nIt takes no arguments of its own; the Qt toolkit's options (such as \\fB\\-platform\\fR) apply. "
        "The saved tree is written when the window closes while \"Save settings\" is on.\n"
        ".PP\n.BR netwarden (1)\nruns the same engine from scripts, on the same catalogue and saved tree.\n";
    page += EntriesSection("ENVIRONMENT", kEnvironment, kWindow);
    page += EntriesSection("FILES", kFiles, kWindow);
    page += ".SH \"SEE ALSO\"\n.BR netwarden (1)\n";
    return page;
}

}  // namespace vn::cli
