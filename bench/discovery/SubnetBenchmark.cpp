// subnet_bench: times `netwarden scan subnet`, and the same with --fast, next
// to nmap's TCP connect scan of port 139 (`nmap -n -Pn -sT -p139 --open`)
// over the same /24, twice:
//   1. 127.0.5.0/24, where every address drops every packet: nothing answers;
//   2. 127.0.0.0/24, where every address drops connections to port 139 but
//      the Samba lab's hosts, which netwarden must find and examine;
// then the fast sweep alone over 127.6.0.0/16, silent too, with its peak
// memory, threads and descriptors (the described scan's time is computed).
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
#include "ProcessPeak.h"
#include "SambaLab.h"

extern char** environ;

namespace {

using vn::lab::LabEnvironment;
using vn::lab::LabHost;
using vn::lab::SambaLab;
using Clock = std::chrono::steady_clock;
using Rule = std::vector<std::string>;

constexpr double kTargetSeconds = 26;
constexpr double kFastSilentTarget = 3;
constexpr double kFastSixteenTarget = 240;
// The /16 is swept with more connections in flight than the default 512:
// 65,534 silent addresses take two attempts of 1 s each.
constexpr const char* kSixteenParallel = "4096";

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
    double fast = -1;
    std::size_t examined = 0;
    std::size_t open = 0;
    std::size_t fastExamined = 0;
    std::size_t rssKiB = 0;  // the fast sweep's peaks
    std::size_t threads = 0;
    std::size_t descriptors = 0;
};

// Which programs a measurement runs.
struct Runs {
    bool described = true;
    bool nmap = true;
    std::vector<std::string> fastOptions{"--fast"};
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

    Figures Measure(const std::string& range, std::vector<Rule> rules, const Runs& runs = {}) {
        Figures figures;
        const Firewall silence(std::move(rules));
        if (runs.described) {
            std::printf("%s: netwarden...\n", range.c_str());
            figures.ours = TimedRun(Netwarden({"scan", "subnet", range}), env_, home_ + "/netwarden.out");
            figures.examined = LabHostsExamined(FileText(home_ + "/netwarden.out"));
        }
        std::printf("%s: netwarden --fast...\n", range.c_str());
        std::vector<std::string> fast{"scan", "subnet", range};
        fast.insert(fast.end(), runs.fastOptions.begin(), runs.fastOptions.end());
        ProcessPeak peak("netwarden");
        figures.fast = TimedRun(Netwarden(fast), env_, home_ + "/fast.out");
        peak.Stop();
        figures.fastExamined = LabHostsExamined(FileText(home_ + "/fast.out"));
        figures.rssKiB = peak.RssKiB();
        figures.threads = peak.Threads();
        figures.descriptors = peak.Descriptors();
        if (runs.nmap) {
            std::printf("%s: nmap...\n", range.c_str());
            figures.theirs =
                TimedRun({"/usr/bin/nmap", "-n", "-Pn", "-sT", "-p139", "--open", range}, env_, home_ + "/nmap.out");
            figures.open = LabHostsOpenForNmap(FileText(home_ + "/nmap.out"));
        }
        return figures;
    }

private:
    // Binds the lab's hosts file and resolver configuration over the
    // system's, then runs the program.
    static constexpr const char* kMountAndRun =
        "mount --bind \"$1\" /etc/hosts && mount --bind \"$2\" /etc/resolv.conf && shift 2 && exec \"$@\"";

    std::vector<std::string> Netwarden(const std::vector<std::string>& arguments) const {
        std::vector<std::string> argv{"/usr/bin/unshare",
                                      "-m",
                                      "sh",
                                      "-c",
                                      kMountAndRun,
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
    std::printf("  netwarden scan subnet --fast: %.2f s, %zu of %zu lab hosts found and examined\n", figures.fast,
                figures.fastExamined, SambaLab::Hosts().size());
    std::printf("  nmap -n -Pn -sT -p139 --open: %.2f s, %zu of %zu lab hosts open\n", figures.theirs, figures.open,
                SambaLab::Hosts().size());
    std::printf("  netwarden / nmap: %.2fx as fast (target: at least 2x); --fast / nmap: %.2fx as fast\n",
                figures.theirs / figures.ours, figures.theirs / figures.fast);
}

void ReportSixteen(const Figures& figures) {
    // The described scan: 65,534 tests of 5 s, 63 at a time.
    const double described = 65534.0 / 63 * 5;
    std::printf("127.6.0.0/16, every address silent:\n");
    std::printf("  netwarden scan subnet --fast --parallel %s: %.1f s (target: at most %.0f s)\n", kSixteenParallel,
                figures.fast, kFastSixteenTarget);
    std::printf("  its peaks: %.1f MB resident, %zu threads, %zu open descriptors\n",
                static_cast<double>(figures.rssKiB) / 1024.0, figures.threads, figures.descriptors);
    std::printf("  netwarden scan subnet (computed, not run): %.0f s = %.1f min\n", described, described / 60);
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
    if (!SambaLab::Running()) {
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

    const Figures sixteen = bench.Measure("127.6.0.0/16", {{"-d", "127.6.0.0/16", "-j", "DROP"}},
                                          Runs{false, false, {"--fast", "--parallel", kSixteenParallel}});

    int status = 0;
    if (silent.ours < 0 || silent.theirs < 0 || withLab.ours < 0 || withLab.theirs < 0 || silent.fast < 0 ||
        withLab.fast < 0 || sixteen.fast < 0) {
        status = 1;
    } else {
        Report("127.0.5.0/24, every address silent:", silent);
        Report("127.0.0.0/24, every address silent on port 139 but the lab hosts:", withLab);
        ReportSixteen(sixteen);
        std::printf("fast sweep of the silent /24: target at most %.0f s; with the lab hosts: at most nmap's time\n",
                    kFastSilentTarget);
        if (withLab.examined != SambaLab::Hosts().size() || withLab.fastExamined != SambaLab::Hosts().size()) {
            std::printf("netwarden printed:\n%s\nnetwarden --fast printed:\n%s",
                        FileText(home + "/netwarden.out").c_str(), FileText(home + "/fast.out").c_str());
            status = 1;
        }
    }

    if (!labRoot.empty())
        SambaLab::Stop(labRoot);
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return status;
}
