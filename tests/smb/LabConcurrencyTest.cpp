// End-to-end: one backend shared by worker threads, hosts that never answer,
// slow hosts, and helpers that die.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "DelayProxy.h"
#include "LabProbe.h"
#include "LabTest.h"
#include "SambaLab.h"
#include "SilentListener.h"
#include "SmbLabEnvironment.h"
#include "platform/RemoteDeadline.h"
#include "platform/smb/rpc/StatusMapping.h"

namespace vn::smb {
namespace {

using namespace std::chrono_literals;
using lab::DelayProxy;
using lab::SambaLab;
using lab::SmbLabEnvironment;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

class LabConcurrencyTest : public lab::LabTest<SmbLabEnvironment> {
protected:
    static SmbCredentials PlainUser() {
        return SmbCredentials::FromPassword(SambaLab::PlainUser().name, SambaLab::PlainUser().password, "");
    }
    static HelperPoolOptions CallLimit(std::chrono::milliseconds limit) {
        HelperPoolOptions options;
        options.callLimit = limit;
        return options;
    }
    static bool Examined(const lab::LabHost& host, const lab::LabProbeResult& result) {
        return result.serverComment == host.comment && result.productType == "ServerNT" && result.keysFound == 2 &&
               result.keysDenied == 1 && result.keysAbsent == 1;
    }

    SmbBackend backend_{PlainUser()};
};

// Each thread keeps its own session per host; every answer must still land
// with the thread that asked for it.
TEST_F(LabConcurrencyTest, FourThreadsProbeBothHostsThroughOneBackend) {
    constexpr int kThreads = 4;
    constexpr int kProbesPerThread = 6;
    const auto hosts = SambaLab::Hosts();
    std::vector<std::vector<std::string>> failures(kThreads);
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kProbesPerThread; ++i) {
                const lab::LabHost& host = hosts[static_cast<std::size_t>((t + i) % 2)];
                lab::LabProbeResult result;
                const Status status = lab::RunLabProbe(backend_, host.address, result);
                if (status != ERROR_SUCCESS || !Examined(host, result)) {
                    failures[static_cast<std::size_t>(t)].push_back(
                        host.name + ": status " + std::to_string(status) + ", comment '" + result.serverComment +
                        "', found " + std::to_string(result.keysFound) + ", denied " +
                        std::to_string(result.keysDenied) + ", absent " + std::to_string(result.keysAbsent));
                }
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t) {
        for (const std::string& failure : failures[static_cast<std::size_t>(t)])
            ADD_FAILURE() << "thread " << t << ": " << failure;
    }
}

// Four computers across a network of 20 ms each way (the lab's two hosts,
// each behind two relays): examined by four threads at once they take about
// as long as the slowest of them, not the sum. The relays keep clear of
// 127.0.0.20, the lab domain's controller, which may run at the same time.
TEST_F(LabConcurrencyTest, ParallelExaminationsTakeAboutTheSlowestNotTheSum) {
    const auto hosts = SambaLab::Hosts();
    std::vector<std::unique_ptr<DelayProxy>> proxies;
    for (int i = 0; i < 4; ++i) {
        proxies.push_back(std::make_unique<DelayProxy>("127.0.0." + std::to_string(30 + i),
                                                       hosts[static_cast<std::size_t>(i % 2)].address, 20ms));
        ASSERT_TRUE(proxies.back()->Listening());
    }
    const auto examine = [&](SmbBackend& backend, std::size_t i) {
        lab::LabProbeResult result;
        const Status status = lab::RunLabProbe(backend, proxies[i]->Address(), result);
        EXPECT_EQ(status, ERROR_SUCCESS) << proxies[i]->Address();
        EXPECT_TRUE(Examined(hosts[i % 2], result)) << proxies[i]->Address();
    };

    double sum = 0, slowest = 0;
    {
        SmbBackend oneThread(PlainUser());
        for (std::size_t i = 0; i < proxies.size(); ++i) {
            const auto start = Clock::now();
            examine(oneThread, i);
            const double seconds = SecondsSince(start);
            sum += seconds;
            slowest = std::max(slowest, seconds);
        }
    }
    SmbBackend fourThreads(PlainUser());
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < proxies.size(); ++i)
        threads.emplace_back([&, i] { examine(fourThreads, i); });
    for (auto& thread : threads)
        thread.join();
    const double together = SecondsSince(start);
    std::printf("one after the other %.2f s (slowest %.2f s), all at once %.2f s\n", sum, slowest, together);
    EXPECT_LT(together, 0.6 * sum);
}

// A host that takes the connection and says nothing, on both SMB ports or on
// 139 alone (445 refused): the call ends at its limit, with what Windows says
// of a host it cannot reach, however libsmbclient would go on trying.
TEST_F(LabConcurrencyTest, SilentHostsFailWithinTheCallLimit) {
    const struct {
        const char* address;
        std::vector<int> ports;
    } cases[] = {
        {"127.0.0.10", {445, 139}},
        {"127.0.0.11", {139}},
    };
    SmbBackend backend(PlainUser(), CallLimit(2s));
    for (const auto& c : cases) {
        std::vector<std::unique_ptr<testing::SilentListener>> listeners;
        for (int port : c.ports) {
            listeners.push_back(std::make_unique<testing::SilentListener>(c.address, port));
            ASSERT_TRUE(listeners.back()->Listening()) << c.address << ":" << port;
        }
        const auto started = Clock::now();
        RegistryKeyPtr key;
        const Status status = backend.registry().Connect(c.address, Hive::LocalMachine, key);
        const double seconds = SecondsSince(started);
        std::printf("a silent host on %zu port(s) took %.1f s to fail with %u\n", c.ports.size(), seconds, status);
        EXPECT_EQ(status, ERROR_BAD_NETPATH) << c.address;
        EXPECT_FALSE(key);
        EXPECT_GE(listeners.back()->Accepted(), 1) << c.address;
        EXPECT_LT(seconds, 4.0) << c.address;  // the limit, and not libsmbclient's retries on the next port
    }
}

TEST_F(LabConcurrencyTest, ASilentHostFailsWhileProbesOfTheLabFinish) {
    testing::SilentListener silent("127.0.0.12", 445);
    ASSERT_TRUE(silent.Listening());
    SmbBackend backend(PlainUser(), CallLimit(3s));
    std::atomic<bool> silentEnded{false};
    Status silentStatus = ERROR_SUCCESS;
    std::thread waiting([&] {
        RegistryKeyPtr key;
        silentStatus = backend.registry().Connect("127.0.0.12", Hive::LocalMachine, key);
        silentEnded = true;
    });
    const lab::LabHost host = SambaLab::Hosts().front();
    int examinedMeanwhile = 0;
    while (!silentEnded) {
        lab::LabProbeResult result;
        ASSERT_EQ(lab::RunLabProbe(backend, host.address, result), ERROR_SUCCESS);
        if (!silentEnded)
            ++examinedMeanwhile;
    }
    waiting.join();
    EXPECT_EQ(silentStatus, ERROR_BAD_NETPATH);
    EXPECT_GE(examinedMeanwhile, 2);
}

// A computer that answers every call, each slowly: its examination ends at
// the one deadline it was given, not after the sum of all its calls.
TEST_F(LabConcurrencyTest, ASlowComputersExaminationEndsByItsDeadline) {
    DelayProxy slow("127.0.0.34", SambaLab::Hosts().front().address, 100ms);
    ASSERT_TRUE(slow.Listening());
    const auto started = Clock::now();
    lab::LabProbeResult result;
    Status status = ERROR_SUCCESS;
    {
        RemoteDeadlineScope examination(3s);
        status = lab::RunLabProbe(backend_, slow.Address(), result);
    }
    const double seconds = SecondsSince(started);
    std::printf("the slow computer's examination ended after %.1f s with %u\n", seconds, status);
    EXPECT_TRUE(status == ERROR_SEM_TIMEOUT || status == ERROR_BAD_NETPATH) << status;
    EXPECT_LT(seconds, 5.0);  // its dozens of calls would take over 10 s
}

TEST_F(LabConcurrencyTest, AHelperKilledMidCallFailsThatCallAndTheNextSucceeds) {
    DelayProxy slow("127.0.0.35", SambaLab::Hosts().front().address, 150ms);
    ASSERT_TRUE(slow.Listening());
    RegistryKeyPtr machine;
    ASSERT_EQ(backend_.registry().Connect(slow.Address(), Hive::LocalMachine, machine), ERROR_SUCCESS);
    ASSERT_EQ(backend_.Helpers().HelperIds().size(), 1u);
    const pid_t helper = backend_.Helpers().HelperIds().front();

    Status status = ERROR_SUCCESS;
    std::thread call([&] {
        RegistryKeyPtr key;
        status = machine->OpenKey(SambaLab::kProductKey, KEY_READ, key);
    });
    // The call needs three round trips of 300 ms through the relay.
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(kill(helper, SIGKILL), 0);
    call.join();
    EXPECT_EQ(status, RPC_S_CALL_FAILED);
    machine.reset();

    lab::LabProbeResult result;
    EXPECT_EQ(lab::RunLabProbe(backend_, SambaLab::Hosts().front().address, result), ERROR_SUCCESS);
    EXPECT_TRUE(Examined(SambaLab::Hosts().front(), result));
}

}  // namespace
}  // namespace vn::smb
