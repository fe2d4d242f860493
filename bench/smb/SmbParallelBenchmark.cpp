// smb_parallel_bench [HOSTS] [ROUNDS]: examines HOSTS computers (default 16)
// once by one thread and once by HOSTS threads at the same time, each way
// with a fresh backend (helpers start, every computer is logged on to), and
// prints computers per second and how many times faster the threads are;
// first across loopback, then across a network of 20 ms each way. The
// computers are relays on 127.0.0.40 and up in front of the Samba lab's
// hosts (DelayProxy, this machine has no netem). The figures are the median
// of ROUNDS runs (default 3). Also prints the memory of one helper process.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchLab.h"
#include "DelayProxy.h"
#include "LabProbe.h"
#include "SambaLab.h"

namespace {

using vn::lab::DelayProxy;
using vn::lab::SambaLab;
using Clock = std::chrono::steady_clock;

using vn::bench::PlainUser;

bool Examine(vn::smb::SmbBackend& backend, const std::string& address) {
    return vn::bench::Examine(backend, address, "smb_parallel_bench");
}

// Kilobytes of a smaps_rollup field.
long RollupKb(const std::string& rollup, const std::string& field) {
    std::istringstream lines(rollup);
    long total = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(field + ":", 0) == 0)
            total += std::atol(line.c_str() + field.size() + 1);
    }
    return total;
}

struct HelperMemory {
    double rssMb = 0, privateMb = 0, pssMb = 0;
};

HelperMemory MemoryOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/smaps_rollup");
    // Through the buffer: istreambuf_iterator trips -O3's null-dereference warning.
    std::ostringstream read;
    read << file.rdbuf();
    const std::string rollup = read.str();
    const auto mb = [&](long kb) { return static_cast<double>(kb) / 1024.0; };
    return {mb(RollupKb(rollup, "Rss")), mb(RollupKb(rollup, "Private_Clean") + RollupKb(rollup, "Private_Dirty")),
            mb(RollupKb(rollup, "Pss"))};
}

class Run {
public:
    explicit Run(const std::vector<std::unique_ptr<DelayProxy>>& hosts) : hosts_(hosts) {}

    // Seconds for every host by one thread.
    double OneThread() {
        vn::smb::SmbBackend backend(PlainUser());
        const auto start = Clock::now();
        for (const auto& host : hosts_)
            ok_ = Examine(backend, host->Address()) && ok_;
        return Seconds(start);
    }

    // Seconds for every host by a thread of its own; notes a helper's memory.
    double ThreadPerHost() {
        vn::smb::SmbBackend backend(PlainUser());
        const auto start = Clock::now();
        std::vector<std::thread> threads;
        std::vector<char> results(hosts_.size(), 0);
        for (std::size_t i = 0; i < hosts_.size(); ++i)
            threads.emplace_back([&, i] { results[i] = Examine(backend, hosts_[i]->Address()) ? 1 : 0; });
        for (auto& thread : threads)
            thread.join();
        const double seconds = Seconds(start);
        ok_ = ok_ && std::all_of(results.begin(), results.end(), [](char result) { return result != 0; });
        const auto helpers = backend.Helpers().HelperIds();
        helperCount_ = helpers.size();
        if (!helpers.empty())
            memory_ = MemoryOf(helpers.front());
        return seconds;
    }

    bool Ok() const { return ok_; }
    std::size_t HelperCount() const { return helperCount_; }
    const HelperMemory& Memory() const { return memory_; }

private:
    static double Seconds(Clock::time_point start) {
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    const std::vector<std::unique_ptr<DelayProxy>>& hosts_;
    bool ok_ = true;
    std::size_t helperCount_ = 0;
    HelperMemory memory_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int hostCount = argc > 1 ? std::atoi(argv[1]) : 16;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    if (hostCount < 1 || hostCount > 200 || rounds < 1) {
        std::fprintf(stderr, "usage: smb_parallel_bench [HOSTS (1-200)] [ROUNDS]\n");
        return 2;
    }
    vn::bench::BenchLab lab;
    if (!lab.Start("smb_parallel_bench"))
        return 1;

    const auto labHosts = SambaLab::Hosts();
    int status = 0;
    for (const int delayMs : {0, 20}) {
        std::vector<std::unique_ptr<DelayProxy>> hosts;
        for (int i = 0; i < hostCount; ++i) {
            hosts.push_back(std::make_unique<DelayProxy>(
                "127.0.0." + std::to_string(40 + i), labHosts[static_cast<std::size_t>(i) % labHosts.size()].address,
                std::chrono::milliseconds(delayMs)));
            if (!hosts.back()->Listening()) {
                std::fprintf(stderr, "smb_parallel_bench: cannot listen on %s:445\n", hosts.back()->Address().c_str());
                return 1;
            }
        }
        std::vector<double> oneThread, threads;
        Run run(hosts);
        for (int round = 0; round < rounds; ++round) {
            oneThread.push_back(run.OneThread());
            threads.push_back(run.ThreadPerHost());
        }
        if (!run.Ok())
            status = 1;
        const double one = Median(oneThread), many = Median(threads);
        std::printf(
            "%d ms each way, %d computers: 1 thread %.2f s (%.1f computers/s), %d threads %.2f s "
            "(%.1f computers/s), %.1fx faster\n",
            delayMs, hostCount, one, hostCount / one, hostCount, many, hostCount / many, one / many);
        if (delayMs == 0) {
            const HelperMemory& memory = run.Memory();
            std::printf(
                "helpers: %zu for %d threads; one helper after its examination: RSS %.1f MB, private %.1f MB, "
                "PSS %.1f MB\n",
                run.HelperCount(), hostCount, memory.rssMb, memory.privateMb, memory.pssMb);
        }
    }
    return status;
}
