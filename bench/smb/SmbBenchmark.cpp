// smb_bench [SECONDS] [ROUNDS]: examines one lab host over and over through
// the SMB backend for SECONDS (default 2) around one probe that makes the
// same reads with Samba's net and rpcclient tools, ROUNDS times (default 9),
// and prints the median of each and how many times faster the backend is.
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
#include "platform/RemoteConnectionScope.h"

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

// The backend's probes over seconds, each timed on its own; false on a failure.
bool BackendProbes(vn::smb::SmbBackend& backend, const std::string& address, double seconds,
                   std::vector<double>& probes) {
    const auto start = Clock::now();
    while (SecondsSince(start) < seconds) {
        const auto probe = Clock::now();
        if (!Examine(backend, address))
            return false;
        probes.push_back(SecondsSince(probe));
    }
    return true;
}

// Seconds of one probe of the tools; 0 on a failure.
double ToolsProbe(const std::vector<ToolRead>& reads) {
    LabEnvironment env;
    for (char** e = environ; *e; ++e)
        env.variables.emplace_back(*e);
    const auto start = Clock::now();
    for (const ToolRead& read : reads) {
        const int rc = vn::lab::RunTool(read.argv, env, "/dev/null");
        if (rc != 0 && !read.refused) {
            std::fprintf(stderr, "smb_bench: %s %s failed with %d\n", read.argv[0].c_str(), read.argv.back().c_str(),
                         rc);
            return 0;
        }
    }
    return SecondsSince(start);
}

// Rounds of the backend's probes for seconds around one probe of the tools,
// so that both meet the same load of a shared machine; each round's ratio
// is the tools' probe against the median of the backend's around it. False
// on a failure.
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
        std::vector<double> probes;
        if (!BackendProbes(backend, host.address, seconds / 2, probes))
            return false;
        tools.push_back(ToolsProbe(reads));
        if (tools.back() == 0 || !BackendProbes(backend, host.address, seconds / 2, probes))
            return false;
        ours.push_back(Median(probes));
        ratios.push_back(tools.back() / ours.back());
        std::printf("round %d: backend %.2f ms per probe (median of %zu), samba tools (%zu commands) %.0f ms: %.0fx\n",
                    round + 1, ours.back() * 1000, probes.size(), reads.size(), tools.back() * 1000, ratios.back());
    }
    std::printf("backend: %.2f ms per probe (%.0f probes/s); samba tools: %.0f ms per probe; medians of %d rounds\n",
                Median(ours) * 1000, 1 / Median(ours), Median(tools) * 1000, rounds);
    std::printf("backend / tools: %.0fx faster, median of the rounds (target: at least 75x)\n", Median(ratios));
    return true;
}

struct Trips {
    std::uint64_t connections = 0;
    std::uint64_t requests = 0;  // until the answer
    std::map<std::uint16_t, std::uint64_t> byCommand;
    std::uint64_t closesAfter = 0;  // the pipes' closes, sent after the answer
    double seconds = 0;
    // Of the time until the answer, what the program with its helper and
    // what the lab's Samba took, as the relay saw them.
    double clientSeconds = 0;
    double serverSeconds = 0;
};

double Seconds(std::chrono::nanoseconds time) { return std::chrono::duration<double>(time).count(); }

// One examination through relay, with what the relay counted meanwhile. As
// the program's scans do, the examination's pipes close after its answer.
bool Measure(vn::smb::SmbBackend& backend, const DelayProxy& relay, Trips& trips) {
    const std::uint64_t connections = relay.Connections(), requests = relay.Requests().Total();
    auto byCommand = relay.Requests().ByCommand();
    const auto clientTime = relay.ClientTime(), serverTime = relay.ServerTime();
    {
        const vn::RemoteConnectionScope pipes;
        const auto start = Clock::now();
        if (!Examine(backend, relay.Address()))
            return false;
        trips.seconds = SecondsSince(start);
        trips.clientSeconds = Seconds(relay.ClientTime() - clientTime);
        trips.serverSeconds = Seconds(relay.ServerTime() - serverTime);
        trips.connections = relay.Connections() - connections;
        trips.requests = relay.Requests().Total() - requests;
        trips.byCommand = relay.Requests().ByCommand();
    }
    trips.closesAfter = relay.Requests().Total() - requests - trips.requests;
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
    return text + ") + " + std::to_string(trips.connections) + " TCP connections until the answer, then " +
           std::to_string(trips.closesAfter) + " pipe closes";
}

struct WarmTimes {
    double ms = 0;  // 0 after a failure
    double clientMs = 0;
    double serverMs = 0;
};

// The medians of rounds warm examinations through relay.
WarmTimes WarmMedians(vn::smb::SmbBackend& backend, const DelayProxy& relay, int rounds) {
    std::vector<double> milliseconds, client, server;
    for (int round = 0; round < rounds; ++round) {
        Trips trips;
        if (!Measure(backend, relay, trips))
            return {};
        milliseconds.push_back(trips.seconds * 1000);
        client.push_back(trips.clientSeconds * 1000);
        server.push_back(trips.serverSeconds * 1000);
    }
    return {Median(milliseconds), Median(client), Median(server)};
}

// Round trips of a cold and a warm examination, then the time of a warm one
// without delay and at 20 ms each way, against the bound its round trips give.
bool CountRoundTrips(const vn::lab::LabHost& host, int rounds) {
    using std::chrono::milliseconds;
    Trips cold, warm;
    double undelayedMs = 0;
    {
        const DelayProxy counting("127.0.0.38", host.address, milliseconds(0));
        vn::smb::SmbBackend backend(PlainUser());
        if (!counting.Listening() || !Measure(backend, counting, cold) || !Measure(backend, counting, warm))
            return false;
        undelayedMs = WarmMedians(backend, counting, rounds).ms;
    }
    std::printf("round trips of a cold examination: %s\n", Describe(cold).c_str());
    std::printf("round trips of a warm examination: %s\n", Describe(warm).c_str());

    constexpr int kOneWayMs = 20;
    const DelayProxy slow("127.0.0.39", host.address, milliseconds(kOneWayMs), 445, DelayProxy::Wait::Spin);
    vn::smb::SmbBackend backend(PlainUser());
    Trips slowCold;
    if (!slow.Listening() || !Measure(backend, slow, slowCold))
        return false;
    const WarmTimes warmTimes = WarmMedians(backend, slow, rounds);
    const double warmMs = warmTimes.ms;
    if (undelayedMs == 0 || warmMs == 0)
        return false;
    const double trips = static_cast<double>(warm.requests + warm.connections);
    const double wireMs = trips * 2 * kOneWayMs;
    const double bound = wireMs + kOneWayMs;
    std::printf(
        "at %d ms each way: cold examination %.0f ms; warm examination %.0f ms, median of %d (bound: %.0f round "
        "trips x %d ms + %d ms = %.0f ms: %s); beyond the wire's %.0f ms: %.0f ms (medians: the program and its "
        "helper %.1f ms, the lab's Samba %.1f ms), where the same examination through the relay without delay "
        "takes %.1f ms\n",
        kOneWayMs, slowCold.seconds * 1000, warmMs, rounds, trips, 2 * kOneWayMs, kOneWayMs, bound,
        warmMs <= bound ? "within" : "OVER", wireMs, warmMs - wireMs, warmTimes.clientMs, warmTimes.serverMs,
        undelayedMs);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 9;
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
