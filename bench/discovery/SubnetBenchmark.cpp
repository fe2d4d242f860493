// subnet_bench: times `netwarden scan subnet` next to nmap's TCP connect scan
// of port 139 (`nmap -n -Pn -sT -p139 --open`) over the same /24, twice:
//   1. 127.0.5.0/24, where every address drops every packet: nothing answers;
//   2. 127.0.0.0/24, where every address drops connections to port 139 but
//      the Samba lab's hosts, which netwarden must find and examine.
// Root only: the silence comes from iptables rules, removed at the end.
// Nothing leaves the machine: netwarden runs in a mount namespace of its own
// whose /etc/hosts names the lab hosts and whose resolver is 127.0.0.1.
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
using Rule = std::vector<std::string>;

constexpr double kTargetSeconds = 26;

std::string FileText(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void RunIptables(const std::string& action, const Rule& rule) {
    Rule argv{"/usr/sbin/iptables", action, "INPUT"};
    if (action == "-I")
        argv.push_back("1");
    argv.insert(argv.end(), rule.begin(), rule.end());
    if (vn::lab::RunTool(argv, LabEnvironment{}, "/dev/null") != 0)
        std::fprintf(stderr, "subnet_bench: iptables %s failed\n", action.c_str());
}

// INPUT rules in the given order ahead of any that were there; removed again
// when this object goes.
class Firewall {
public:
    explicit Firewall(std::vector<Rule> rules) : rules_(std::move(rules)) {
        for (auto rule = rules_.rbegin(); rule != rules_.rend(); ++rule)
            RunIptables("-I", *rule);
    }
    ~Firewall() {
        for (const Rule& rule : rules_)
            RunIptables("-D", rule);
    }
    Firewall(const Firewall&) = delete;
    Firewall& operator=(const Firewall&) = delete;

private:
    std::vector<Rule> rules_;
};

extern "C" void NoteSignal(int) {}

// Runs argv to its end with its output in outFile; the seconds it took, or a
// negative number when it did not run or failed (other than by exit code 1,
// a computer that could not be examined).
double TimedRun(const std::vector<std::string>& argv, const LabEnvironment& env, const std::string& outFile) {
    const auto start = Clock::now();
    const int rc = vn::lab::RunTool(argv, env, outFile);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (rc != 0 && rc != 1) {
        std::fprintf(stderr, "subnet_bench: %s ended with %d:\n%s\n", argv.front().c_str(), rc,
                     FileText(outFile).c_str());
        return -1;
    }
    return seconds;
}

// The lab hosts that netwarden printed under their names without an error.
std::size_t LabHostsExamined(const std::string& printed) {
    std::size_t examined = 0;
    std::istringstream lines(printed);
    for (std::string line; std::getline(lines, line);) {
        for (const LabHost& host : SambaLab::Hosts()) {
            if (line.rfind("{\"name\":\"" + host.name + "\",\"ip\":\"" + host.address + "\"", 0) == 0 &&
                line.find("\"error\":null") != std::string::npos)
                ++examined;
        }
    }
    return examined;
}

std::size_t LabHostsOpenForNmap(const std::string& printed) {
    std::size_t open = 0;
    for (const LabHost& host : SambaLab::Hosts())
        open += printed.find("Nmap scan report for " + host.address + "\n") != std::string::npos;
    return open;
}

struct Figures {
    double ours = -1;
    double theirs = -1;
    std::size_t examined = 0;
    std::size_t open = 0;
};

class Bench {
public:
    Bench(std::string home, std::string netwarden) : home_(std::move(home)), netwarden_(std::move(netwarden)) {
        for (char** e = environ; *e; ++e)
            env_.variables.emplace_back(*e);
        for (const std::string& variable :
             {"HOME=" + home_, "XDG_CONFIG_HOME=" + home_ + "/config", "NETWARDEN_USER_HIVE=" + home_ + "/user.db",
              "NETWARDEN_MACHINE_HIVE=" + home_ + "/machine.db", "KRB5CCNAME=FILE:" + home_ + "/no-ticket",
              "NETWARDEN_PASSWORD=" + SambaLab::AdminUser().password})
            env_.variables.push_back(variable);
    }

    Figures Measure(const std::string& range, std::vector<Rule> rules) {
        Figures figures;
        const Firewall silence(std::move(rules));
        std::printf("%s: netwarden...\n", range.c_str());
        figures.ours = TimedRun(Netwarden({"scan", "subnet", range}), env_, home_ + "/netwarden.out");
        figures.examined = LabHostsExamined(FileText(home_ + "/netwarden.out"));
        std::printf("%s: nmap...\n", range.c_str());
        figures.theirs =
            TimedRun({"/usr/bin/nmap", "-n", "-Pn", "-sT", "-p139", "--open", range}, env_, home_ + "/nmap.out");
        figures.open = LabHostsOpenForNmap(FileText(home_ + "/nmap.out"));
        return figures;
    }

private:
    std::vector<std::string> Netwarden(const std::vector<std::string>& arguments) const {
        // Runs the rest of the line with the lab's hosts and resolver files
        // mounted over the system's, in a mount namespace of its own.
        const std::string withLabFiles =
            "mount --bind \"$1\" /etc/hosts && mount --bind \"$2\" /etc/resolv.conf && shift 2 && exec \"$@\"";
        std::vector<std::string> argv{"/usr/bin/unshare",
                                      "-m",
                                      "sh",
                                      "-c",
                                      withLabFiles,
                                      "sh",
                                      home_ + "/hosts",
                                      home_ + "/resolv.conf",
                                      netwarden_,
                                      "--user",
                                      std::string(SambaLab::kWorkgroup) + "\\" + SambaLab::AdminUser().name};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return argv;
    }

    std::string home_;
    std::string netwarden_;
    LabEnvironment env_;
};

void Report(const char* what, const Figures& figures) {
    std::printf("%s\n", what);
    std::printf("  netwarden scan subnet: %.1f s (target: at most %.0f s), %zu of %zu lab hosts found and examined\n",
                figures.ours, kTargetSeconds, figures.examined, SambaLab::Hosts().size());
    std::printf("  nmap -n -Pn -sT -p139 --open: %.1f s, %zu of %zu lab hosts open\n", figures.theirs, figures.open,
                SambaLab::Hosts().size());
    std::printf("  netwarden / nmap: %.2fx as fast (target: at least 2x)\n", figures.theirs / figures.ours);
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
    // Ctrl+C or a time-out ends the programs under way (they share the
    // process group); the benchmark itself goes on to remove its rules and
    // to stop the lab it started, whose daemons would otherwise keep what
    // they inherited (the lab lock among it).
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, NoteSignal);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    char pattern[] = "/tmp/vn-subnet-bench-XXXXXX";
    const char* scratch = mkdtemp(pattern);
    if (!scratch)
        return 1;
    const std::string home = scratch;
    std::filesystem::permissions(home, std::filesystem::perms(0755));  // the lab's daemons must enter it
    SambaLab::WriteClientConfiguration(home, true);
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

    Bench bench(home, netwarden);
    const Figures silent = bench.Measure("127.0.5.0/24", {{"-d", "127.0.5.0/24", "-j", "DROP"}});
    std::vector<Rule> labOnly;
    for (const LabHost& host : SambaLab::Hosts())
        labOnly.push_back({"-d", host.address + "/32", "-p", "tcp", "--dport", "139", "-j", "ACCEPT"});
    labOnly.push_back({"-d", "127.0.0.0/24", "-p", "tcp", "--dport", "139", "-j", "DROP"});
    const Figures withLab = bench.Measure("127.0.0.0/24", labOnly);

    int status = 0;
    if (silent.ours < 0 || silent.theirs < 0 || withLab.ours < 0 || withLab.theirs < 0) {
        status = 1;
    } else {
        Report("127.0.5.0/24, every address silent:", silent);
        Report("127.0.0.0/24, every address silent on port 139 but the lab hosts:", withLab);
        if (withLab.examined != SambaLab::Hosts().size()) {
            std::printf("netwarden printed:\n%s", FileText(home + "/netwarden.out").c_str());
            status = 1;
        }
    }

    if (!labRoot.empty())
        SambaLab::Stop(labRoot);
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return status;
}
