// subnet_bench: times `netwarden scan subnet 127.0.0.0/24` while every
// address of that range but the Samba lab's hosts drops connections to port
// 139 (so each test waits out its 5 s time-out), then nmap's TCP connect scan
// of port 139 over the same range, and prints both with their ratio. The lab
// hosts must be found and examined in the same run. Root only: the silence
// comes from iptables rules, which are removed at the end; nothing leaves the
// machine, and names are resolved from a private /etc/hosts.
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "LabProcess.h"
#include "SambaLab.h"

extern char** environ;

namespace {

using vn::lab::LabEnvironment;
using vn::lab::LabHost;
using vn::lab::SambaLab;
using Clock = std::chrono::steady_clock;

constexpr const char* kRange = "127.0.0.0/24";
constexpr double kTargetSeconds = 26;

std::string FileText(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Port 139 of the range drops every packet, except at the lab hosts; the
// rules go again when this object does.
class SilentRange {
public:
    SilentRange() {
        for (auto it = Rules().rbegin(); it != Rules().rend(); ++it)
            Iptables("-I", *it);
    }
    ~SilentRange() {
        for (const std::vector<std::string>& rule : Rules())
            Iptables("-D", rule);
    }

private:
    static std::vector<std::vector<std::string>> Rules() {
        std::vector<std::vector<std::string>> rules;
        for (const LabHost& host : SambaLab::Hosts())
            rules.push_back({"-d", host.address + "/32", "-p", "tcp", "--dport", "139", "-j", "ACCEPT"});
        rules.push_back({"-d", kRange, "-p", "tcp", "--dport", "139", "-j", "DROP"});
        return rules;
    }

    static void Iptables(const std::string& action, const std::vector<std::string>& rule) {
        std::vector<std::string> argv{"/usr/sbin/iptables", action, "INPUT"};
        if (action == "-I")
            argv.push_back("1");
        argv.insert(argv.end(), rule.begin(), rule.end());
        LabEnvironment env;
        if (vn::lab::RunTool(argv, env, "/dev/null") != 0)
            std::fprintf(stderr, "subnet_bench: iptables %s failed\n", action.c_str());
    }
};

LabEnvironment CurrentEnvironment() {
    LabEnvironment env;
    for (char** e = environ; *e; ++e)
        env.variables.emplace_back(*e);
    return env;
}

// Runs argv to its end with its output in outFile; the seconds it took, or a
// negative number when it failed.
double TimedRun(const std::vector<std::string>& argv, const LabEnvironment& env, const std::string& outFile) {
    const auto start = Clock::now();
    const int rc = vn::lab::RunTool(argv, env, outFile);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (rc != 0) {
        std::fprintf(stderr, "subnet_bench: %s ended with %d:\n%s\n", argv.front().c_str(), rc,
                     FileText(outFile).c_str());
        return -1;
    }
    return seconds;
}

}  // namespace

int main() {
    if (geteuid() != 0) {
        std::fprintf(stderr, "subnet_bench: needs root (it changes the firewall)\n");
        return 1;
    }
    const std::filesystem::path bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    const std::string netwarden = (bin / "netwarden").string();
    for (const std::string& tool : {netwarden, std::string("/usr/bin/nmap"), std::string("/usr/sbin/iptables"),
                                    std::string("/usr/bin/unshare")}) {
        if (access(tool.c_str(), X_OK) != 0) {
            std::fprintf(stderr, "subnet_bench: %s is missing (scripts/setup installs nmap and iptables)\n",
                         tool.c_str());
            return 1;
        }
    }
    // Ctrl+C ends the programs under way (they share the process group); the
    // benchmark itself goes on to remove its rules.
    std::signal(SIGINT, SIG_IGN);

    char pattern[] = "/tmp/vn-subnet-bench-XXXXXX";
    const char* scratch = mkdtemp(pattern);
    if (!scratch)
        return 1;
    const std::string home = scratch;
    std::filesystem::permissions(home, std::filesystem::perms(0755));  // the lab's daemons must enter it
    SambaLab::WriteClientConfiguration(home);
    {
        std::ofstream hosts(home + "/hosts");
        hosts << FileText("/etc/hosts");
        for (const LabHost& host : SambaLab::Hosts())
            hosts << host.address << ' ' << host.name << '\n';
        std::ofstream(home + "/resolv.conf") << "nameserver 127.0.0.1\n";
    }

    std::string labRoot;
    if (!vn::lab::TcpPortOpen(SambaLab::Hosts().front().address, 445)) {
        labRoot = home + "/lab";
        std::string error;
        std::printf("starting the Samba lab under %s\n", labRoot.c_str());
        if (!SambaLab::Start(labRoot, error)) {
            std::fprintf(stderr, "subnet_bench: %s\n", error.c_str());
            return 1;
        }
    }

    LabEnvironment env = CurrentEnvironment();
    env.variables.push_back("HOME=" + home);
    env.variables.push_back("XDG_CONFIG_HOME=" + home + "/config");
    env.variables.push_back("NETWARDEN_USER_HIVE=" + home + "/user.db");
    env.variables.push_back("NETWARDEN_MACHINE_HIVE=" + home + "/machine.db");
    env.variables.push_back("KRB5CCNAME=FILE:" + home + "/no-ticket");
    env.variables.push_back("NETWARDEN_PASSWORD=" + SambaLab::AdminUser().password);

    int status = 0;
    double ours = -1;
    double theirs = -1;
    std::string found;
    {
        SilentRange silence;
        // A mount namespace of its own gives netwarden the hosts file and a
        // resolver that asks only this machine.
        ours = TimedRun({"/usr/bin/unshare", "-m", "sh", "-c",
                         "mount --bind \"$1\" /etc/hosts && mount --bind \"$2\" /etc/resolv.conf && shift 2 && "
                         "exec \"$@\"",
                         "sh", home + "/hosts", home + "/resolv.conf", netwarden, "--user",
                         std::string(SambaLab::kWorkgroup) + "\\" + SambaLab::AdminUser().name, "scan", "subnet",
                         kRange},
                        env, home + "/netwarden.out");
        found = FileText(home + "/netwarden.out");
        theirs = TimedRun({"/usr/bin/nmap", "-n", "-Pn", "-sT", "-p139", "--open", kRange}, env, home + "/nmap.out");
    }

    // Each lab host is a line of its own, under its name, without an error.
    std::size_t examined = 0;
    std::istringstream lines(found);
    for (std::string line; std::getline(lines, line);) {
        for (const LabHost& host : SambaLab::Hosts()) {
            if (line.rfind("{\"name\":\"" + host.name + "\",\"ip\":\"" + host.address + "\"", 0) == 0 &&
                line.find("\"error\":null") != std::string::npos)
                ++examined;
        }
    }
    const std::string nmapOut = FileText(home + "/nmap.out");
    std::size_t nmapOpen = 0;
    for (const LabHost& host : SambaLab::Hosts())
        nmapOpen += nmapOut.find("Nmap scan report for " + host.address + "\n") != std::string::npos;

    if (ours < 0 || theirs < 0) {
        status = 1;
    } else {
        std::printf("range %s: %zu lab hosts, every other address silent on port 139\n", kRange,
                    SambaLab::Hosts().size());
        std::printf("netwarden scan subnet: %.1f s, %zu of %zu lab hosts found and examined (target: at most %.0f s)\n",
                    ours, examined, SambaLab::Hosts().size(), kTargetSeconds);
        std::printf("nmap -n -Pn -sT -p139 --open: %.1f s, %zu of %zu lab hosts open\n", theirs, nmapOpen,
                    SambaLab::Hosts().size());
        std::printf("netwarden / nmap: %.1fx as fast (target: at least 2x)\n", theirs / ours);
        if (examined != SambaLab::Hosts().size())
            status = 1;
    }

    if (!labRoot.empty())
        SambaLab::Stop(labRoot);
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return status;
}
