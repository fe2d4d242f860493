// The pool of helper processes, with a scripted helper program standing in
// for libsmbclient: leases, session reuse, time bounds, deaths, the limit,
// idle ends and what reaches a helper.
#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "RpcTestPdus.h"
#include "platform/smb/pool/HelperPool.h"
#include "platform/smb/rpc/RpcConnection.h"
#include "platform/smb/rpc/StatusMapping.h"
#include "platform/smb/rpc/Winreg.h"

namespace vn::smb {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

bool ProcessGone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }

// Polls for a condition that another process or thread brings about; false
// when it did not come within a generous bound.
template <class Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 500; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class HelperPoolTest : public ::testing::Test {
protected:
    static HelperPoolOptions Options() {
        HelperPoolOptions options;
        options.program =
            (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "scripted_smb_helper").string();
        options.callLimit = 2s;
        return options;
    }

    static SmbCredentials Someone() { return SmbCredentials::FromPassword("DOM\\someone", "secret-pass", ""); }
    static Clock::time_point In(std::chrono::milliseconds limit) { return Clock::now() + limit; }

    std::unique_ptr<PipeStream> Open(HelperPool& pool, const std::string& host, Status expected = ERROR_SUCCESS) {
        std::unique_ptr<PipeStream> pipe;
        EXPECT_EQ(pool.OpenPipe(host, "winreg", In(2s), pipe), expected) << host;
        return pipe;
    }

    static std::string ReadText(PipeStream& pipe, std::size_t size) {
        std::string text(size, '\0');
        EXPECT_EQ(pipe.ReadExact(reinterpret_cast<std::uint8_t*>(text.data()), size, In(2s)), ERROR_SUCCESS);
        return text;
    }
};

TEST_F(HelperPoolTest, BytesTravelThroughTheHelperBothWays) {
    HelperPool pool(Someone(), Options());
    auto pipe = Open(pool, "echo");
    ASSERT_TRUE(pipe);
    // More than one frame carries: the pipe splits it.
    Bytes sent(70000);
    for (std::size_t i = 0; i < sent.size(); ++i)
        sent[i] = static_cast<std::uint8_t>(i * 13);
    ASSERT_EQ(pipe->Write(sent, In(2s)), ERROR_SUCCESS);
    Bytes back(sent.size());
    ASSERT_EQ(pipe->ReadExact(back.data(), back.size(), In(2s)), ERROR_SUCCESS);
    EXPECT_EQ(back, sent);
    std::uint8_t more[4];
    EXPECT_EQ(pipe->ReadExact(more, sizeof more, In(2s)), ERROR_BROKEN_PIPE);
}

TEST_F(HelperPoolTest, APduTravelsWholeInOneTransaction) {
    Bytes stub(3000);
    for (std::size_t i = 0; i < stub.size(); ++i)
        stub[i] = static_cast<std::uint8_t>(i * 7);
    const Bytes pdu = testing::ResponsePdu(3, PFC_FIRST_FRAG | PFC_LAST_FRAG, stub);
    const Bytes headerOnly = testing::ServerPdu(PduType::Response, PFC_LAST_FRAG, 4, {});
    Bytes tooShort = headerOnly;
    tooShort[8] = 15;  // a fragment length below its own header
    const struct {
        const char* what;
        Bytes inPipe;   // written before
        Bytes request;  // written by the transaction itself
        Status status;
        Bytes pdu;
    } cases[] = {
        {"sent with the transaction", {}, pdu, ERROR_SUCCESS, pdu},
        {"waiting in the pipe", pdu, {}, ERROR_SUCCESS, pdu},
        {"a header and nothing else", headerOnly, {}, ERROR_SUCCESS, headerOnly},
        {"cut short", Bytes(pdu.begin(), pdu.begin() + 100), {}, ERROR_BROKEN_PIPE, {}},
        {"a length below the header", tooShort, {}, StatusFromIoErrno(EPROTO), {}},
    };
    HelperPool pool(Someone(), Options());
    for (const auto& c : cases) {
        auto pipe = Open(pool, "echo");
        ASSERT_TRUE(pipe) << c.what;
        if (!c.inPipe.empty()) {
            ASSERT_EQ(pipe->Write(c.inPipe, In(2s)), ERROR_SUCCESS) << c.what;
        }
        Bytes received;
        EXPECT_EQ(pipe->Transact(c.request, received, In(2s)), c.status) << c.what;
        if (c.status == ERROR_SUCCESS) {
            EXPECT_EQ(received, c.pdu) << c.what;
        }
    }
    // A failed transaction fails only itself: the helper serves on.
    EXPECT_EQ(pool.HelpersStarted(), 1u);
}

TEST_F(HelperPoolTest, CallsForOneHostGoToTheHelperHoldingItsSession) {
    HelperPool pool(Someone(), Options());
    auto first = Open(pool, "pid");
    auto second = Open(pool, "PID");  // names differ in case only on paper
    ASSERT_TRUE(first && second);
    const std::string served = ReadText(*first, std::to_string(pool.HelperIds().front()).size());
    EXPECT_EQ(ReadText(*second, served.size()), served);
    EXPECT_EQ(pool.HelpersStarted(), 1u);

    // Another host while the first one's pipes are open: a helper of its own.
    auto other = Open(pool, "echo");
    EXPECT_EQ(pool.HelpersStarted(), 2u);
    // Once a helper holds no pipe, any host may use it.
    first.reset();
    second.reset();
    other.reset();
    auto later = Open(pool, "creds");
    EXPECT_EQ(pool.HelpersStarted(), 2u);
}

TEST_F(HelperPoolTest, FailedOpensAndWhatBecomesOfTheirHelper) {
    const struct {
        const char* host;
        Status status;
        bool helperKilled;
    } cases[] = {
        {"refused", ERROR_BAD_NETPATH, false},  // the library's own answer: the helper stays
        {"unknown", ERROR_BAD_NETPATH, false},
        {"silent", ERROR_BAD_NETPATH, true},  // as a silent host answers, once the call limit passed
        {"crash", RPC_S_CALL_FAILED, true},   // the helper died serving the call
    };
    HelperPoolOptions options = Options();
    options.callLimit = 300ms;
    HelperPool pool(Someone(), options);
    for (const auto& c : cases) {
        auto warm = Open(pool, "echo");
        warm.reset();
        ASSERT_EQ(pool.HelperIds().size(), 1u);
        const pid_t helper = pool.HelperIds().front();
        std::unique_ptr<PipeStream> pipe;
        EXPECT_EQ(pool.OpenPipe(c.host, "winreg", In(options.callLimit), pipe), c.status) << c.host;
        EXPECT_EQ(ProcessGone(helper), c.helperKilled) << c.host;
        // Nothing else notices: the next call gets a helper that works.
        auto next = Open(pool, "echo");
        ASSERT_TRUE(next) << c.host;
        EXPECT_EQ(next->Write(Bytes{1, 2}, In(1s)), ERROR_SUCCESS) << c.host;
    }
}

TEST_F(HelperPoolTest, AnIdleHelperKilledFromOutsideIsReplacedUnnoticed) {
    HelperPool pool(Someone(), Options());
    Open(pool, "echo").reset();
    ASSERT_EQ(kill(pool.HelperIds().front(), SIGKILL), 0);
    EXPECT_TRUE(Eventually([&] { return pool.HelperIds().empty(); }));
    auto pipe = Open(pool, "echo");
    ASSERT_TRUE(pipe);
    EXPECT_EQ(pipe->Write(Bytes{1}, In(1s)), ERROR_SUCCESS);
    EXPECT_EQ(pool.HelpersStarted(), 2u);
}

TEST_F(HelperPoolTest, AReadPastItsDeadlineKillsTheHelperAndFailsItsOtherPipes) {
    HelperPool pool(Someone(), Options());
    auto slow = Open(pool, "echo-400");
    auto sibling = Open(pool, "echo-400");
    ASSERT_TRUE(slow && sibling);
    EXPECT_EQ(pool.HelpersStarted(), 1u);
    const pid_t helper = pool.HelperIds().front();
    ASSERT_EQ(slow->Write(Bytes{1, 2, 3, 4}, In(1s)), ERROR_SUCCESS);
    std::uint8_t out[4];
    EXPECT_EQ(slow->ReadExact(out, sizeof out, In(100ms)), ERROR_SEM_TIMEOUT);
    EXPECT_TRUE(ProcessGone(helper));
    EXPECT_EQ(sibling->Write(Bytes{5}, In(1s)), RPC_S_CALL_FAILED);
    EXPECT_EQ(slow->ReadExact(out, sizeof out, In(1s)), RPC_S_CALL_FAILED);
    EXPECT_TRUE(Open(pool, "echo"));
}

TEST_F(HelperPoolTest, ADrippingAnswerEndsAtTheCallsOneDeadline) {
    HelperPool pool(Someone(), Options());
    auto pipe = Open(pool, "echo-60");
    ASSERT_TRUE(pipe);
    // The server's side, queued ahead of what the connection writes: a bind
    // acknowledgement, then an answer in endless empty fragments, each of
    // which arrives in time on its own.
    Bytes script = testing::BindAckPdu(1, 4280);
    const Bytes middle = testing::ResponsePdu(2, 0, Bytes{});
    Bytes fragment = testing::ResponsePdu(2, PFC_FIRST_FRAG, Bytes{});
    script.insert(script.end(), fragment.begin(), fragment.end());
    for (int i = 0; i < 100; ++i)
        script.insert(script.end(), middle.begin(), middle.end());
    ASSERT_EQ(pipe->Write(script, In(1s)), ERROR_SUCCESS);

    RpcConnection connection(std::move(pipe), 600ms);
    ASSERT_EQ(connection.Bind(winreg::Interface()), ERROR_SUCCESS);
    Bytes response;
    EXPECT_EQ(connection.Call(17, Bytes{1, 2, 3, 4}, response), ERROR_SEM_TIMEOUT);
    // The rest of that answer is still on its way: later calls fail as well.
    EXPECT_EQ(connection.Call(17, Bytes{1, 2, 3, 4}, response), ERROR_SEM_TIMEOUT);
}

TEST_F(HelperPoolTest, CredentialsReachTheHelperOnlyThroughItsSocket) {
    setenv("NETWARDEN_PASSWORD", "secret-pass", 1);
    HelperPool pool(Someone(), Options());
    auto pipe = Open(pool, "creds");
    unsetenv("NETWARDEN_PASSWORD");
    ASSERT_TRUE(pipe);
    EXPECT_EQ(ReadText(*pipe, 25), "someone|secret-pass|DOM|-");
    const std::string proc = "/proc/" + std::to_string(pool.HelperIds().front());
    for (const char* file : {"/cmdline", "/environ"}) {
        const std::string text = FileText(proc + file);
        if (geteuid() == 0) {  // others may not read a helper's environment at all
            EXPECT_FALSE(text.empty()) << file;
        }
        EXPECT_EQ(text.find("secret-pass"), std::string::npos) << file;
    }
    // A new password from now on is a new helper's.
    pool.SetCredentials(SmbCredentials::FromPassword("other", "new-pass", "DOM2"));
    auto renewed = Open(pool, "creds");
    ASSERT_TRUE(renewed);
    EXPECT_EQ(ReadText(*renewed, 19), "other|new-pass|DOM2");
    EXPECT_EQ(pool.HelpersStarted(), 2u);
}

TEST_F(HelperPoolTest, IdleHelpersEndAndThePoolEndsTheRest) {
    HelperPoolOptions options = Options();
    options.idleLimit = 200ms;
    auto pool = std::make_unique<HelperPool>(Someone(), options);
    pid_t idle = 0;
    {
        auto pipe = Open(*pool, "echo");
        idle = pool->HelperIds().front();
    }
    EXPECT_TRUE(Eventually([&] { return pool->HelperIds().empty() && ProcessGone(idle); }));

    auto held = Open(*pool, "echo");
    const pid_t busy = pool->HelperIds().front();
    pool.reset();
    EXPECT_TRUE(ProcessGone(busy));
    EXPECT_EQ(held->Write(Bytes{1}, In(1s)), RPC_S_CALL_FAILED);
}

TEST_F(HelperPoolTest, AtTheLimitACallWaitsForAHelperToComeFree) {
    HelperPoolOptions options = Options();
    options.maxHelpers = 1;
    HelperPool pool(Someone(), options);
    std::atomic<bool> silentEnded{false};
    std::thread silent([&] {
        std::unique_ptr<PipeStream> pipe;
        EXPECT_EQ(pool.OpenPipe("silent", "winreg", In(700ms), pipe), ERROR_BAD_NETPATH);
        silentEnded = true;
    });
    ASSERT_TRUE(Eventually([&] { return pool.HelpersStarted() == 1; }));
    // Too short a wait for the only helper: the call gives up, the helper stays busy.
    std::unique_ptr<PipeStream> pipe;
    EXPECT_EQ(pool.OpenPipe("echo", "winreg", In(50ms), pipe), ERROR_BAD_NETPATH);
    EXPECT_FALSE(silentEnded);
    // Long enough: the silent call's helper is killed and replaced.
    EXPECT_EQ(pool.OpenPipe("echo", "winreg", In(5s), pipe), ERROR_SUCCESS);
    EXPECT_EQ(pool.HelpersStarted(), 2u);
    silent.join();
}

TEST_F(HelperPoolTest, ASilentHostHoldsNoOneElseUp) {
    HelperPool pool(Someone(), Options());
    std::atomic<bool> silentEnded{false};
    std::thread silent([&] {
        std::unique_ptr<PipeStream> pipe;
        EXPECT_EQ(pool.OpenPipe("silent", "winreg", In(3s), pipe), ERROR_BAD_NETPATH);
        silentEnded = true;
    });
    ASSERT_TRUE(Eventually([&] { return pool.HelpersStarted() == 1; }));
    for (int i = 0; i < 5; ++i) {
        auto pipe = Open(pool, "echo");
        ASSERT_TRUE(pipe);
        ASSERT_EQ(pipe->Write(Bytes{9, 8}, In(1s)), ERROR_SUCCESS);
        std::uint8_t back[2];
        EXPECT_EQ(pipe->ReadExact(back, 2, In(1s)), ERROR_SUCCESS);
    }
    EXPECT_FALSE(silentEnded);
    silent.join();
}

TEST_F(HelperPoolTest, BrowseListsAndTheirFailures) {
    HelperPool pool(Someone(), Options());
    std::vector<helper::BrowseEntry> entries;
    ASSERT_EQ(pool.Browse("smb://LIST", In(2s), entries), ERROR_SUCCESS);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1].kind, helper::EntryKind::Server);
    EXPECT_EQ(entries[1].name, "LAB1");
    EXPECT_EQ(entries[3].comment, "a printer");
    EXPECT_EQ(pool.Browse("smb://nothing", In(2s), entries), ERROR_BAD_NETPATH);
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(pool.Browse("smb://silent", In(200ms), entries), ERROR_BAD_NETPATH);
    // A list without end is cut at the cap and refused as too long.
    EXPECT_EQ(pool.Browse("smb://ENDLESS", In(60s), entries), ERROR_BROWSE_LIST_TOO_LONG);
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(pool.Browse("smb://LIST", In(2s), entries), ERROR_SUCCESS);
}

TEST_F(HelperPoolTest, AHelperThatCannotStartOrLogOnFailsTheCall) {
    HelperPoolOptions missing = Options();
    missing.program += "-absent";
    HelperPool nowhere(Someone(), missing);
    std::unique_ptr<PipeStream> pipe;
    EXPECT_EQ(nowhere.OpenPipe("echo", "winreg", In(1s), pipe), ERROR_FILE_NOT_FOUND);

    HelperPool refused(SmbCredentials::FromPassword("refused-logon", "x", ""), Options());
    EXPECT_EQ(refused.OpenPipe("echo", "winreg", In(1s), pipe), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(refused.HelperIds().empty());
}

}  // namespace
}  // namespace vn::smb
