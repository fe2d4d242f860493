// smb_bench [SECONDS] [ROUNDS]: examines one lab host over and over through
// the SMB backend for SECONDS (default 3) and makes the same reads with
// Samba's net and rpcclient tools, ROUNDS times (default 3) in turn, and
// prints the median time of each and how many times faster the backend is.
// Then counts the round trips of one examination of a host not yet logged on
// to (cold) and of one whose session is open (warm), through a relay that
// counts the SMB requests, and times both across a relay of 20 ms each way
// against the bound the round trips give. Uses a running lab, or starts one
// of its own.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "BenchLab.h"
#include "DelayProxy.h"
#include "LabProbe.h"
#include "LabProcess.h"
#include "SambaLab.h"

extern char** environ;

namespace {

using vn::lab::DelayProxy;
using vn::lab::LabEnvironment;
using vn::lab::SambaLab;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

using vn::bench::PlainUser;

bool Examine(vn::smb::SmbBackend& backend, const std::string& address) {
    return vn::bench::Examine(backend, address, "smb_bench");
}

struct ToolRead {
    std::vector<std::string> argv;
    bool refused = false;  // the locked and the absent key fail by design
};

// The tools' share of one probe: one process per read, as a script would run them.
std::vector<ToolRead> ToolProbe(const std::string& conf, const std::string& authFile, const vn::lab::LabHost& host) {
    auto net = [&](std::vector<std::string> args, bool refused = false) {
        std::vector<std::string> argv = {"/usr/bin/net", "-s", conf, "rpc", "registry"};
        argv.insert(argv.end(), args.begin(), args.end());
        argv.insert(argv.end(), {"-S", host.name, "-I", host.address, "-A", authFile});
        return ToolRead{argv, refused};
    };
    const std::string hklm = "HKLM\\";
    return {
        net({"enumerate", hklm + SambaLab::kProductKey}),  // stands in for opening the services key
        net({"enumerate", hklm + SambaLab::kProductKey}),
        net({"enumerate", hklm + SambaLab::kPolicyKey}),
        net({"enumerate", hklm + SambaLab::kLockedProductKey}, true),
        net({"enumerate", hklm + SambaLab::kAbsentProductKey}, true),
        {{"/usr/bin/rpcclient", "-s", conf, "-I", host.address, "-A", authFile, "-c", "srvinfo", host.name}},
        net({"getvalue", hklm + "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", "ProductType"}),
    };
}

// Seconds per probe of the backend, whose session is open, over seconds; 0 on a failure.
double BackendProbe(vn::smb::SmbBackend& backend, const std::string& address, double seconds) {
    int probes = 0;
    const auto start = Clock::now();
    while (SecondsSince(start) < seconds) {
        if (!Examine(backend, address))
            return 0;
        ++probes;
    }
    return SecondsSince(start) / probes;
}

// Seconds per probe of the tools over a few probes; 0 on a failure.
double ToolsProbe(const std::vector<ToolRead>& reads) {
    LabEnvironment env;
    for (char** e = environ; *e; ++e)
        env.variables.emplace_back(*e);
    constexpr int kToolProbes = 3;
    const auto start = Clock::now();
    for (int i = 0; i < kToolProbes; ++i) {
        for (const ToolRead& read : reads) {
            const int rc = vn::lab::RunTool(read.argv, env, "/dev/null");
            if (rc != 0 && !read.refused) {
                std::fprintf(stderr, "smb_bench: %s %s failed with %d\n", read.argv[0].c_str(),
                             read.argv.back().c_str(), rc);
                return 0;
            }
        }
    }
    return SecondsSince(start) / kToolProbes;
}

// The backend beside the tools, rounds times in turn; false on a failure.
bool CompareWithTools(const std::string& conf, const std::string& authFile, const vn::lab::LabHost& host,
                      double seconds, int rounds) {
    vn::smb::SmbBackend backend(PlainUser());
    // The first probe logs on; the program's workers keep that session.
    const auto start = Clock::now();
    if (!Examine(backend, host.address))
        return false;
    std::printf("backend: first probe (with logon) %.1f ms\n", SecondsSince(start) * 1000);
    const auto reads = ToolProbe(conf, authFile, host);
    std::vector<double> ours, tools, ratios;
    for (int round = 0; round < rounds; ++round) {
        ours.push_back(BackendProbe(backend, host.address, seconds));
        tools.push_back(ToolsProbe(reads));
        if (ours.back() == 0 || tools.back() == 0)
            return false;
        ratios.push_back(tools.back() / ours.back());
        std::printf("round %d: backend %.2f ms per probe, samba tools (%zu commands) %.0f ms per probe: %.0fx\n",
                    round + 1, ours.back() * 1000, reads.size(), tools.back() * 1000, ratios.back());
    }
    std::printf("backend: %.2f ms per probe (%.0f probes/s); samba tools: %.0f ms per probe; medians of %d rounds\n",
                Median(ours) * 1000, 1 / Median(ours), Median(tools) * 1000, rounds);
    std::printf("backend / tools: %.0fx faster, median of the rounds (target: at least 75x)\n", Median(ratios));
    return true;
}

struct Trips {
    std::uint64_t connections = 0;
    std::uint64_t requests = 0;
    std::map<std::uint16_t, std::uint64_t> byCommand;
    double seconds = 0;
};

// One examination through relay, with what the relay counted meanwhile.
bool Measure(vn::smb::SmbBackend& backend, const DelayProxy& relay, Trips& trips) {
    const std::uint64_t connections = relay.Connections(), requests = relay.Requests().Total();
    auto byCommand = relay.Requests().ByCommand();
    const auto start = Clock::now();
    if (!Examine(backend, relay.Address()))
        return false;
    trips.seconds = SecondsSince(start);
    trips.connections = relay.Connections() - connections;
    trips.requests = relay.Requests().Total() - requests;
    trips.byCommand = relay.Requests().ByCommand();
    for (const auto& [command, count] : byCommand)
        trips.byCommand[command] -= count;
    return true;
}

// "55 SMB requests (CREATE 2, READ 30, ...) + 0 TCP connections"
std::string Describe(const Trips& trips) {
    static const std::map<std::uint16_t, const char*> kNames = {
        {0, "NEGOTIATE"}, {1, "SESSION_SETUP"}, {3, "TREE_CONNECT"}, {4, "TREE_DISCONNECT"},
        {5, "CREATE"},    {6, "CLOSE"},         {8, "READ"},         {9, "WRITE"},
        {11, "IOCTL"},    {13, "ECHO"},         {16, "QUERY_INFO"}};
    std::string text = std::to_string(trips.requests) + " SMB requests (";
    const char* separator = "";
    for (const auto& [command, count] : trips.byCommand) {
        if (count == 0)
            continue;
        const auto name = kNames.find(command);
        text += separator + (name != kNames.end() ? std::string(name->second) : "other " + std::to_string(command)) +
                " " + std::to_string(count);
        separator = ", ";
    }
    return text + ") + " + std::to_string(trips.connections) + " TCP connections";
}

// Round trips of a cold and a warm examination, then their time at 20 ms each way.
bool CountRoundTrips(const vn::lab::LabHost& host, int rounds) {
    using std::chrono::milliseconds;
    Trips cold, warm;
    {
        const DelayProxy counting("127.0.0.38", host.address, milliseconds(0));
        vn::smb::SmbBackend backend(PlainUser());
        if (!counting.Listening() || !Measure(backend, counting, cold) || !Measure(backend, counting, warm))
            return false;
    }
    std::printf("round trips of a cold examination: %s\n", Describe(cold).c_str());
    std::printf("round trips of a warm examination: %s\n", Describe(warm).c_str());

    constexpr int kOneWayMs = 20;
    const DelayProxy slow("127.0.0.39", host.address, milliseconds(kOneWayMs));
    vn::smb::SmbBackend backend(PlainUser());
    Trips slowCold;
    if (!slow.Listening() || !Measure(backend, slow, slowCold))
        return false;
    std::vector<double> warmSeconds;
    for (int round = 0; round < rounds; ++round) {
        Trips slowWarm;
        if (!Measure(backend, slow, slowWarm))
            return false;
        warmSeconds.push_back(slowWarm.seconds);
    }
    const double bound = static_cast<double>(warm.requests + warm.connections) * 2 * kOneWayMs + kOneWayMs;
    const double median = Median(warmSeconds) * 1000;
    std::printf(
        "at %d ms each way: cold examination %.0f ms; warm examination %.0f ms, median of %d (bound: %.0f "
        "round trips x %d ms + %d ms = %.0f ms: %s)\n",
        kOneWayMs, slowCold.seconds * 1000, median, rounds, static_cast<double>(warm.requests + warm.connections),
        2 * kOneWayMs, kOneWayMs, bound, median <= bound ? "within" : "OVER");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    if (seconds <= 0 || rounds < 1) {
        std::fprintf(stderr, "usage: smb_bench [SECONDS] [ROUNDS]\n");
        return 2;
    }

    vn::bench::BenchLab lab;
    if (!lab.Start("smb_bench"))
        return 1;
    const vn::lab::LabHost host = SambaLab::Hosts().front();
    if (!CompareWithTools(lab.ClientConfiguration(), lab.AuthFile(), host, seconds, rounds))
        return 1;
    return CountRoundTrips(host, rounds) ? 0 : 1;
}
