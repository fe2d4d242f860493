#include <gtest/gtest.h>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/RegistryValues.h"
#include "platform/TempDirectory.h"
#include "platform/local/hive/SqliteRegistry.h"
#include "support/TwoProcesses.h"

namespace vn {
namespace {

using test::RunInTwoProcesses;

constexpr int kRounds = 60;

// prefix followed by number. (Built by appending: GCC 12 gives a false
// -Wrestrict warning for "literal" + std::to_string(...) when optimising.)
std::string Numbered(std::string prefix, int number) {
    prefix += std::to_string(number);
    return prefix;
}

void ExpectIntact(const std::string& file) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* check = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
    sqlite3_finalize(check);
    sqlite3_close(db);
}

class HiveSharingTest : public ::testing::Test {
protected:
    HivePaths Paths() const { return {dir_.File("cfg/user.db"), dir_.File("machine.db")}; }
    TempDirectory dir_;
};

TEST_F(HiveSharingTest, TwoProgramsWritingOneHiveAtOnceLoseNothing) {
    RunInTwoProcesses([&](int process) {
        SqliteRegistry registry(Paths());
        RegistryKeyPtr root, key;
        int failures = 0;
        if (registry.Connect("", Hive::CurrentUser, root) != ERROR_SUCCESS ||
            root->CreateKey("Software\\Shared", KEY_ALL_ACCESS, key) != ERROR_SUCCESS)
            return 1;
        for (int i = 0; i < kRounds; ++i) {
            const std::string name = Numbered(Numbered("P", process) + "_", i);
            failures += SetDwordValue(*key, name, static_cast<std::uint32_t>(i)) != ERROR_SUCCESS;
            RegistryKeyPtr sub;
            failures += key->CreateKey("Sub\\" + name, KEY_ALL_ACCESS, sub) != ERROR_SUCCESS;
        }
        return failures;
    });

    SqliteRegistry registry(Paths());
    RegistryKeyPtr root, key, sub;
    ASSERT_EQ(registry.Connect("", Hive::CurrentUser, root), ERROR_SUCCESS);
    ASSERT_EQ(root->OpenKey("Software\\Shared", KEY_READ, key), ERROR_SUCCESS);
    for (int process = 0; process < 2; ++process) {
        for (int i = 0; i < kRounds; ++i) {
            const std::string name = Numbered(Numbered("P", process) + "_", i);
            std::uint32_t value = 0;
            EXPECT_EQ(QueryDwordValue(*key, name, value), ERROR_SUCCESS) << name;
            EXPECT_EQ(value, static_cast<std::uint32_t>(i));
            EXPECT_EQ(key->OpenKey("Sub\\" + name, KEY_READ, sub), ERROR_SUCCESS) << name;
        }
    }
    ExpectIntact(Paths().currentUser);
}

// Another program's write under way when a single write starts: the write
// must wait for it rather than read the key and then find the file taken
// (which fails the write, or loses one of the two).
TEST_F(HiveSharingTest, ASingleWriteWaitsForAWriteUnderWayAndKeepsBoth) {
    SqliteRegistry registry(Paths());
    RegistryKeyPtr root, key;
    ASSERT_EQ(registry.Connect("", Hive::CurrentUser, root), ERROR_SUCCESS);
    ASSERT_EQ(root->CreateKey("Software\\Shared", KEY_ALL_ACCESS, key), ERROR_SUCCESS);
    ASSERT_EQ(SetDwordValue(*key, "First", 1), ERROR_SUCCESS);

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(Paths().currentUser.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; UPDATE keys SET vals = vals", nullptr, nullptr, nullptr),
              SQLITE_OK);
    std::atomic<Status> written = ~Status{0};  // not written yet
    std::thread writing([&] { written = SetDwordValue(*key, "Second", 2); });
    // The write has started, and found the other one holding the file.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    writing.join();
    sqlite3_close(other);

    EXPECT_EQ(written.load(), ERROR_SUCCESS);
    std::uint32_t value = 0;
    EXPECT_EQ(QueryDwordValue(*key, "First", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(QueryDwordValue(*key, "Second", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 2u);
}

TEST_F(HiveSharingTest, WriteGroupsOfTwoProgramsEachLandWhole) {
    RunInTwoProcesses([&](int process) {
        SqliteRegistry registry(Paths());
        RegistryKeyPtr root;
        if (registry.Connect("", Hive::CurrentUser, root) != ERROR_SUCCESS)
            return 1;
        int failures = 0;
        for (int i = 0; i < kRounds; ++i) {
            auto group = root->BeginWriteGroup();
            RegistryKeyPtr key;
            const std::string path = Numbered(Numbered("Groups\\P", process) + "\\G", i);
            failures += root->CreateKey(path, KEY_ALL_ACCESS, key) != ERROR_SUCCESS;
            for (const char* name : {"A", "B", "C"})
                failures += key && SetStringValue(*key, name, path) != ERROR_SUCCESS;
            // Every third group is abandoned and must leave no trace.
            if (i % 3 != 2)
                failures += group->Commit() != ERROR_SUCCESS;
        }
        return failures;
    });

    SqliteRegistry registry(Paths());
    RegistryKeyPtr root;
    ASSERT_EQ(registry.Connect("", Hive::CurrentUser, root), ERROR_SUCCESS);
    for (int process = 0; process < 2; ++process) {
        for (int i = 0; i < kRounds; ++i) {
            const std::string path = Numbered(Numbered("Groups\\P", process) + "\\G", i);
            RegistryKeyPtr key;
            const Status opened = root->OpenKey(path, KEY_READ, key);
            if (i % 3 == 2) {
                EXPECT_EQ(opened, ERROR_FILE_NOT_FOUND) << path;
                continue;
            }
            ASSERT_EQ(opened, ERROR_SUCCESS) << path;
            for (const char* name : {"A", "B", "C"}) {
                std::string value;
                EXPECT_EQ(QueryStringValue(*key, name, value), ERROR_SUCCESS) << path << name;
                EXPECT_EQ(value, path);
            }
        }
    }
    ExpectIntact(Paths().currentUser);
}

TEST_F(HiveSharingTest, ThreadsOfOneProgramShareAHive) {
    SqliteRegistry registry(Paths());
    constexpr int kThreads = 4;
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            RegistryKeyPtr root, key;
            if (registry.Connect("", Hive::CurrentUser, root) != ERROR_SUCCESS ||
                root->CreateKey(Numbered("Threads\\T", t), KEY_ALL_ACCESS, key) != ERROR_SUCCESS) {
                failures[t] = 1;
                return;
            }
            for (int i = 0; i < 20; ++i) {
                failures[t] += SetDwordValue(*key, Numbered("V", i), static_cast<std::uint32_t>(i)) != 0;
                std::string name;
                failures[t] += root->EnumKey(0, name) != ERROR_SUCCESS;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    RegistryKeyPtr root, key;
    ASSERT_EQ(registry.Connect("", Hive::CurrentUser, root), ERROR_SUCCESS);
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(failures[t], 0) << t;
        ASSERT_EQ(root->OpenKey(Numbered("Threads\\T", t), KEY_READ, key), ERROR_SUCCESS);
        std::uint32_t value = 0;
        EXPECT_EQ(QueryDwordValue(*key, "V19", value), ERROR_SUCCESS);
        EXPECT_EQ(value, 19u);
    }
}

// Reads share a short transaction holding the file's shared lock, under which
// no other program can commit.
TEST_F(HiveSharingTest, AReaderThatWentIdleDoesNotHoldOffAnotherProgramsWrite) {
    SqliteRegistry reader(Paths(), std::chrono::milliseconds(300));
    RegistryKeyPtr root, key;
    ASSERT_EQ(reader.Connect("", Hive::CurrentUser, root), ERROR_SUCCESS);
    ASSERT_EQ(root->CreateKey("Software\\Shared", KEY_ALL_ACCESS, key), ERROR_SUCCESS);
    ASSERT_EQ(SetDwordValue(*key, "V", 1), ERROR_SUCCESS);
    std::uint32_t value = 0;
    ASSERT_EQ(QueryDwordValue(*key, "V", value), ERROR_SUCCESS);

    // The reader makes no further call: its transaction must end by itself
    // well within the writer's patience.
    SqliteRegistry writer(Paths(), std::chrono::milliseconds(1000));
    RegistryKeyPtr writerRoot, writerKey;
    ASSERT_EQ(writer.Connect("", Hive::CurrentUser, writerRoot), ERROR_SUCCESS);
    ASSERT_EQ(writerRoot->OpenKey("Software\\Shared", KEY_ALL_ACCESS, writerKey), ERROR_SUCCESS);
    EXPECT_EQ(SetDwordValue(*writerKey, "V", 2), ERROR_SUCCESS);

    // And the reader sees the write at once, not a snapshot from before it.
    EXPECT_EQ(QueryDwordValue(*key, "V", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 2u);
}

TEST_F(HiveSharingTest, AReaderThatNeverPausesDoesNotStarveAnotherProgramsWrites) {
    SqliteRegistry reader(Paths(), std::chrono::milliseconds(2000));
    RegistryKeyPtr root, key;
    ASSERT_EQ(reader.Connect("", Hive::CurrentUser, root), ERROR_SUCCESS);
    ASSERT_EQ(root->CreateKey("Software\\Shared", KEY_ALL_ACCESS, key), ERROR_SUCCESS);
    ASSERT_EQ(SetDwordValue(*key, "V", 0), ERROR_SUCCESS);
    std::atomic<bool> done = false;
    std::atomic<std::uint32_t> lastSeen = 0;
    int readFailures = 0;
    std::thread reading([&] {
        while (!done) {
            std::uint32_t value = 0;
            readFailures += QueryDwordValue(*key, "V", value) != ERROR_SUCCESS;
            lastSeen = value;
        }
    });

    SqliteRegistry writer(Paths(), std::chrono::milliseconds(1000));
    RegistryKeyPtr writerRoot, writerKey;
    ASSERT_EQ(writer.Connect("", Hive::CurrentUser, writerRoot), ERROR_SUCCESS);
    ASSERT_EQ(writerRoot->OpenKey("Software\\Shared", KEY_ALL_ACCESS, writerKey), ERROR_SUCCESS);
    for (std::uint32_t i = 1; i <= 5; ++i)
        EXPECT_EQ(SetDwordValue(*writerKey, "V", i), ERROR_SUCCESS) << i;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (lastSeen != 5 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::yield();
    done = true;
    reading.join();
    EXPECT_EQ(lastSeen, 5u);
    EXPECT_EQ(readFailures, 0);
}

}  // namespace
}  // namespace vn
