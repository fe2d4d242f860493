// smb_bench [SECONDS]: examines one lab host over and over through the SMB
// backend for SECONDS (default 3) and prints probes per second, then makes
// the same reads with Samba's net and rpcclient tools and prints how many
// times faster the backend is. Uses a running lab, or starts one of its own.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchLab.h"
#include "LabProbe.h"
#include "LabProcess.h"
#include "SambaLab.h"

extern char** environ;

namespace {

using vn::lab::LabEnvironment;
using vn::lab::SambaLab;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

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

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: smb_bench [SECONDS]\n");
        return 2;
    }

    vn::bench::BenchLab lab;
    if (!lab.Start("smb_bench"))
        return 1;
    const std::string conf = lab.ClientConfiguration();
    const std::string authFile = lab.AuthFile();
    const vn::lab::LabHost host = SambaLab::Hosts().front();

    int status = 0;
    {
        vn::smb::SmbBackend backend(
            vn::smb::SmbCredentials::FromPassword(SambaLab::PlainUser().name, SambaLab::PlainUser().password, ""));
        vn::lab::LabProbeResult result;
        // The first probe logs on; the program's workers keep that session.
        auto start = Clock::now();
        const vn::Status first = vn::lab::RunLabProbe(backend, host.address, result);
        const double firstSeconds = SecondsSince(start);
        if (first != vn::ERROR_SUCCESS) {
            std::fprintf(stderr, "smb_bench: the probe of %s failed with %u\n", host.address.c_str(), first);
            status = 1;
        } else {
            int probes = 0;
            start = Clock::now();
            while (SecondsSince(start) < seconds) {
                if (vn::lab::RunLabProbe(backend, host.address, result) != vn::ERROR_SUCCESS) {
                    std::fprintf(stderr, "smb_bench: a probe failed\n");
                    status = 1;
                    break;
                }
                ++probes;
            }
            const double ours = SecondsSince(start) / probes;
            std::printf("backend: first probe (with logon) %.1f ms; %d probes in %.1f s: %.0f probes/s, %.2f ms each\n",
                        firstSeconds * 1000, probes, SecondsSince(start), 1 / ours, ours * 1000);

            LabEnvironment env;
            for (char** e = environ; *e; ++e)
                env.variables.emplace_back(*e);
            const auto reads = ToolProbe(conf, authFile, host);
            constexpr int kToolProbes = 3;
            start = Clock::now();
            for (int i = 0; i < kToolProbes && status == 0; ++i) {
                for (const ToolRead& read : reads) {
                    const int rc = vn::lab::RunTool(read.argv, env, "/dev/null");
                    if (rc != 0 && !read.refused) {
                        std::fprintf(stderr, "smb_bench: %s %s failed with %d\n", read.argv[0].c_str(),
                                     read.argv.back().c_str(), rc);
                        status = 1;
                        break;
                    }
                }
            }
            if (status == 0) {
                const double tools = SecondsSince(start) / kToolProbes;
                std::printf("samba tools: %zu commands per probe, %.0f ms per probe (%.2f probes/s)\n", reads.size(),
                            tools * 1000, 1 / tools);
                std::printf("backend / tools: %.0fx faster (target: at least 5x)\n", tools / ours);
            }
        }
    }

    return status;
}
