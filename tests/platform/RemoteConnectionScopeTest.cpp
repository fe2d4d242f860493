// The connections an examination keeps for its own later calls: found only
// by the thread and scope that kept them, let go of when the scope ends.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "platform/RemoteConnectionScope.h"

namespace vn {
namespace {

TEST(RemoteConnectionScopeTest, AConnectionIsFoundOnlyWhereAndWhileItsScopeKeepsIt) {
    auto connection = std::make_shared<int>(7);
    const std::weak_ptr<int> watch = connection;

    RemoteConnectionScope::Keep("host\\winreg", connection);  // no scope: nothing kept
    EXPECT_EQ(RemoteConnectionScope::Find("host\\winreg"), nullptr);
    {
        const RemoteConnectionScope examination;
        RemoteConnectionScope::Keep("host\\winreg", connection);
        {
            // An inner scope (a step that opens one of its own) finds and keeps in the outer one.
            const RemoteConnectionScope step;
            EXPECT_EQ(RemoteConnectionScope::Find("host\\winreg"), connection);
            RemoteConnectionScope::Keep("host\\srvsvc", std::make_shared<int>(8));
        }
        EXPECT_NE(RemoteConnectionScope::Find("host\\srvsvc"), nullptr);
        EXPECT_EQ(RemoteConnectionScope::Find("other\\winreg"), nullptr);

        std::shared_ptr<void> seenByAnotherThread = connection;
        std::thread([&] { seenByAnotherThread = RemoteConnectionScope::Find("host\\winreg"); }).join();
        EXPECT_EQ(seenByAnotherThread, nullptr);

        connection.reset();
        EXPECT_FALSE(watch.expired());  // the scope holds it
    }
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(RemoteConnectionScope::Find("host\\srvsvc"), nullptr);
}

TEST(RemoteConnectionScopeTest, AConnectionClosingAtTheScopesEndFindsNoScope) {
    // Closing a pipe makes remote calls of its own, which must neither find
    // nor keep anything of the scope being torn down.
    struct ClosingCall {
        explicit ClosingCall(std::shared_ptr<void>* result) : found(result) {}
        ClosingCall(const ClosingCall&) = delete;
        ClosingCall& operator=(const ClosingCall&) = delete;
        std::shared_ptr<void>* found;
        ~ClosingCall() {
            *found = RemoteConnectionScope::Find("host\\winreg");
            RemoteConnectionScope::Keep("host\\late", std::make_shared<int>(1));
        }
    };
    std::shared_ptr<void> found;
    {
        const RemoteConnectionScope examination;
        RemoteConnectionScope::Keep("host\\winreg", std::make_shared<ClosingCall>(&found));
        found = std::make_shared<int>(0);  // the close must overwrite this
    }
    EXPECT_EQ(found, nullptr);
    // A later scope starts empty: nothing slipped in while the last one ended.
    const RemoteConnectionScope next;
    EXPECT_EQ(RemoteConnectionScope::Find("host\\late"), nullptr);
}

}  // namespace
}  // namespace vn
