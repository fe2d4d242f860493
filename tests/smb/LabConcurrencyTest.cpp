// End-to-end: one backend shared by worker threads, and a host that never answers.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "LabProbe.h"
#include "SambaLab.h"
#include "SilentListener.h"
#include "SmbLabEnvironment.h"

namespace vn::smb {
namespace {

using lab::SambaLab;
using testing::SmbLabEnvironment;

class LabConcurrencyTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (SmbLabEnvironment::SambaMissing())
            GTEST_SKIP() << SmbLabEnvironment::Unavailable();
        ASSERT_EQ(SmbLabEnvironment::Unavailable(), "");
    }

    SmbBackend backend_{SmbCredentials::FromPassword(SambaLab::PlainUser().name, SambaLab::PlainUser().password, "")};
};

// Each thread keeps its own session per host; every answer must still land
// with the thread that asked for it.
TEST_F(LabConcurrencyTest, FourThreadsProbeBothHostsThroughOneBackend) {
    constexpr int kThreads = 4;
    constexpr int kProbesPerThread = 6;
    const auto hosts = SambaLab::Hosts();
    std::vector<std::vector<std::string>> failures(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kProbesPerThread; ++i) {
                const lab::LabHost& host = hosts[static_cast<std::size_t>((t + i) % 2)];
                lab::LabProbeResult result;
                const Status status = lab::RunLabProbe(backend_, host.address, result);
                const bool right = status == ERROR_SUCCESS && result.serverComment == host.comment &&
                                   result.productType == "ServerNT" && result.keysFound == 2 &&
                                   result.keysDenied == 1 && result.keysAbsent == 1;
                if (!right) {
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

TEST_F(LabConcurrencyTest, SilentHostFailsWithinTheTimeOut) {
    const std::string address = "127.0.0.10";
    testing::SilentListener silent(address, 445);
    ASSERT_TRUE(silent.listening());

    const auto started = std::chrono::steady_clock::now();
    RegistryKeyPtr key;
    const Status status = backend_.registry().Connect(address, Hive::LocalMachine, key);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("a silent host took %.1f s to fail with %u\n", seconds, status);

    EXPECT_NE(status, ERROR_SUCCESS);
    EXPECT_FALSE(key);
    EXPECT_GE(silent.accepted(), 1);
    EXPECT_LT(seconds, 30.0);  // a guard against hanging, not a performance figure
}

}  // namespace
}  // namespace vn::smb
