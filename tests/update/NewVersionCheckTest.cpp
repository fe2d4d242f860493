// The new-version check: the comparison, where the host comes from, and the
// whole check against a real local HTTPS server.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "platform/https/TlsLab.h"
#include "update/NewVersionCheck.h"
#include "update/OneKeyRegistry.h"
#include "update/UpdateHost.h"
#include "update/VersionAnswer.h"

namespace vn::test {
namespace {

constexpr const char* kSettingsKey = "Software\\Vantor Netwarden\\Settings";

TEST(VersionAnswerTest, OnlyALaterVersionTextIsAnnounced) {
    EXPECT_TRUE(AnnouncesNewerVersion("version:2.01.13"));
    EXPECT_FALSE(AnnouncesNewerVersion("version:2.01.12"));
    EXPECT_TRUE(AnnouncesNewerVersion("version:2.01.12\r\n"));  // nothing is trimmed
    EXPECT_FALSE(AnnouncesNewerVersion("2.01.11"));             // no colon: the whole text
    EXPECT_TRUE(AnnouncesNewerVersion("3.0"));
    EXPECT_FALSE(AnnouncesNewerVersion("version: 2.01.13"));  // the space compares low
    EXPECT_TRUE(AnnouncesNewerVersion("a:b:2.01.00"));        // after the first colon only
    EXPECT_TRUE(AnnouncesNewerVersion("v:2.01.9"));           // byte order, not numeric
    EXPECT_FALSE(AnnouncesNewerVersion(""));
    EXPECT_TRUE(AnnouncesNewerVersion("v:2.01.12\xE9"));  // bytes compare unsigned
}

class UpdateHostTest : public ::testing::Test {
protected:
    void SetUp() override { ::unsetenv(kUpdateHostVariable); }
    void TearDown() override { ::unsetenv(kUpdateHostVariable); }
    OneKeyRegistry registry_{kSettingsKey};
};

TEST_F(UpdateHostTest, EnvironmentThenSettingsThenDefault) {
    EXPECT_EQ(ResolveUpdateHost(registry_), kDefaultUpdateHost);
    registry_.SetString("UpdateHost", "updates.example.test:8443");
    EXPECT_EQ(ResolveUpdateHost(registry_), "updates.example.test:8443");
    ::setenv(kUpdateHostVariable, "127.0.0.1:4443", 1);
    EXPECT_EQ(ResolveUpdateHost(registry_), "127.0.0.1:4443");
    ::setenv(kUpdateHostVariable, "", 1);
    EXPECT_EQ(ResolveUpdateHost(registry_), "updates.example.test:8443");
}

TEST_F(UpdateHostTest, ValueOfAnotherTypeOrEmptyIsIgnored) {
    registry_.SetString("UpdateHost", "binary.example", REG_BINARY);
    EXPECT_EQ(ResolveUpdateHost(registry_), kDefaultUpdateHost);
    registry_.SetString("UpdateHost", "");
    EXPECT_EQ(ResolveUpdateHost(registry_), kDefaultUpdateHost);
}

// Records the dialogs the check asks for, and on which thread.
class RecordingDialogs final : public NewVersionDialogService {
public:
    void ShowNewVersionDialog(const std::string& downloadUrl) override {
        std::lock_guard lock(mutex_);
        urls_.push_back(downloadUrl);
        thread_ = std::this_thread::get_id();
    }
    std::vector<std::string> Urls() const {
        std::lock_guard lock(mutex_);
        return urls_;
    }
    std::thread::id Thread() const {
        std::lock_guard lock(mutex_);
        return thread_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> urls_;
    std::thread::id thread_;
};

class NewVersionCheckTest : public ::testing::Test {
protected:
    NewVersionCheckTest() : identity_(lab_.Trusted()), server_(&identity_), client_(lab_.ClientOptions()) {}
    void SetUp() override { ::unsetenv(kUpdateHostVariable); }

    // Runs one check against the given host with the server answering body.
    std::vector<std::string> Check(const std::string& host, int status, const std::string& body) {
        server_.SetReply({status, body, {}, TestHttpsServer::Behaviour::Answer});
        NewVersionCheck check(client_, host, dialogs_);
        EXPECT_TRUE(check.Start());
        EXPECT_TRUE(WaitUntilIdle(check));
        return dialogs_.Urls();
    }

    static bool WaitUntilIdle(NewVersionCheck& check) {
        WorkerThread* workers[] = {&check};
        return WaitForFirstIdle(workers, std::chrono::seconds(20)).has_value();
    }

    TlsLab lab_;
    Identity identity_;
    TestHttpsServer server_;
    CurlHttpsClient client_;
    RecordingDialogs dialogs_;
};

TEST_F(NewVersionCheckTest, LaterVersionShowsTheDialogFromTheCheckThread) {
    const auto urls = Check(server_.HostAndPort(), 200, "version:2.01.13");
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_EQ(urls[0], "https://" + server_.HostAndPort() + "/go.asp?page=products_netwarden");
    EXPECT_NE(dialogs_.Thread(), std::this_thread::get_id());
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/mykshost/vtrnetwardenversion.asp");
}

TEST_F(NewVersionCheckTest, AnswersDecideAsTheComparisonDoes) {
    const struct {
        std::string body;
        bool shown;
    } cases[] = {
        {"version:2.01.12", false},
        {"version:2.01.12\r\n", true},
        {"2.01.11", false},
        {"3.0", true},
        {"version:9.99.99" + std::string(4096 - 15, ' '), true},
        // Longer than any version text: not the version service, not read on.
        {"version:9.99.99" + std::string(4096 - 14, ' '), false},
        {"version:9.99.99" + std::string(1 << 20, ' '), false},
    };
    for (const auto& c : cases) {
        const std::size_t before = dialogs_.Urls().size();
        const auto urls = Check(server_.HostAndPort(), 200, c.body);
        EXPECT_EQ(urls.size() - before, c.shown ? 1u : 0u) << c.body.size();
    }
}

TEST_F(NewVersionCheckTest, FailuresShowNothing) {
    EXPECT_TRUE(Check(server_.HostAndPort(), 404, "<html>version:9.99.99</html>").empty());
    EXPECT_TRUE(Check(server_.HostAndPort(), 500, "version:9.99.99").empty());
    EXPECT_TRUE(Check("127.0.0.1:" + std::to_string(UnusedPort()), 200, "version:9.99.99").empty());
}

TEST_F(NewVersionCheckTest, AnEndlessAnswerEndsTheCheckWithoutADialog) {
    server_.SetReply({200, "version:9.99.99" + std::string(16384, ' '), {}, TestHttpsServer::Behaviour::EndlessBody});
    NewVersionCheck check(client_, server_.HostAndPort(), dialogs_);
    ASSERT_TRUE(check.Start());
    ASSERT_TRUE(WaitUntilIdle(check));
    EXPECT_TRUE(dialogs_.Urls().empty());
}

TEST_F(NewVersionCheckTest, StartedFromTheSettingsHost) {
    OneKeyRegistry registry(kSettingsKey);
    registry.SetString("UpdateHost", server_.HostAndPort());
    server_.SetReply({200, "version:2.01.13", {}, TestHttpsServer::Behaviour::Answer});
    auto check = StartNewVersionCheck(client_, registry, dialogs_);
    ASSERT_TRUE(WaitUntilIdle(*check));
    EXPECT_EQ(dialogs_.Urls().size(), 1u);
}

TEST_F(NewVersionCheckTest, DestroyingTheCheckAbandonsASilentServer) {
    server_.SetReply({200, "", {}, TestHttpsServer::Behaviour::NeverAnswer});
    const auto started = std::chrono::steady_clock::now();
    {
        NewVersionCheck check(client_, server_.HostAndPort(), dialogs_);
        ASSERT_TRUE(check.Start());
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_TRUE(dialogs_.Urls().empty());
}

}  // namespace
}  // namespace vn::test
