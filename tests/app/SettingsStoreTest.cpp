#include "app/SettingsStore.h"

#include <gtest/gtest.h>

#include "app/HivePlatform.h"
#include "inventory/FailingRegistry.h"
#include "platform/RegistryValues.h"

namespace vn::test {
namespace {

class SettingsStoreTest : public testing::Test {
protected:
    RegistryKeyPtr SettingsKey() {
        RegistryKeyPtr hive;
        RegistryKeyPtr key;
        EXPECT_EQ(platform.local->Connect("", Hive::CurrentUser, hive), 0u);
        EXPECT_EQ(hive->CreateKey(SettingsStore::kSettingsKey, KEY_ALL_ACCESS, key), 0u);
        return key;
    }
    void Put(std::string_view name, std::uint32_t value) { ASSERT_EQ(SetDwordValue(*SettingsKey(), name, value), 0u); }
    std::optional<std::uint32_t> Get(std::string_view name) {
        std::uint32_t value = 0;
        std::uint32_t type = 0;
        if (SettingsKey()->QueryValue(name, &type, nullptr, nullptr) != 0 || type != REG_DWORD)
            return std::nullopt;
        if (QueryDwordValue(*SettingsKey(), name, value) != 0)
            return std::nullopt;
        return value;
    }
    void PutWorkspace() {
        Put("SaveWorkspaceInfo", 1);
        Put("WorkspaceWidth", 1000);
        Put("WorkspaceHeight", 700);
        Put("WorkspaceX", static_cast<std::uint32_t>(-20));
        Put("WorkspaceY", 30);
        Put("FirstWiewWidth", 300);
        Put("SecondWiewHeight", 250);
        Put("ThirdWiewHeight", 160);
        Put("FourthWiewHeight", 150);
    }

    HivePlatform platform;
    SettingsStore store{*platform.local};
};

TEST_F(SettingsStoreTest, FirstStartKeepsTheDefaultsAndRestoresNothing) {
    AppSettings settings;
    store.ReadSettings(settings);
    EXPECT_EQ(settings.SaveWorkspaceInfo, 1u);
    EXPECT_EQ(settings.WelcomeScreen, 0u);
    EXPECT_EQ(settings.LockHorizontalSplitter, 1u);

    const WorkspaceRestore restore = store.ReadWorkspace();
    EXPECT_FALSE(restore.Window);
    EXPECT_EQ(restore.Panes.First, 404);
    EXPECT_EQ(restore.Panes.Second, 228);
    EXPECT_EQ(restore.Panes.Third, 170);
    EXPECT_EQ(restore.Panes.Fourth, 190);
}

TEST_F(SettingsStoreTest, SettingsAreWrittenAsDwordsUnderTheirOwnNames) {
    EXPECT_EQ(store.WriteSettings({0, 5, 1}), ERROR_SUCCESS);
    EXPECT_EQ(Get("SaveWorkspaceInfo"), 0u);
    EXPECT_EQ(Get("WelcomeScreen"), 5u);
    EXPECT_EQ(Get("LockHorizontalSplitter"), 1u);

    AppSettings read;
    SettingsStore(*platform.Reopen()).ReadSettings(read);
    EXPECT_EQ(read.SaveWorkspaceInfo, 0u);
    EXPECT_EQ(read.WelcomeScreen, 5u);
    EXPECT_EQ(read.LockHorizontalSplitter, 1u);
}

TEST_F(SettingsStoreTest, ValueThatCannotBeReadKeepsItsCurrentValue) {
    Put("WelcomeScreen", 1);
    ASSERT_EQ(SetStringValue(*SettingsKey(), "LockHorizontalSplitter", "no"), 0u);
    AppSettings settings;
    settings.SaveWorkspaceInfo = 7;
    store.ReadSettings(settings);
    EXPECT_EQ(settings.SaveWorkspaceInfo, 7u);
    EXPECT_EQ(settings.WelcomeScreen, 1u);
    EXPECT_EQ(settings.LockHorizontalSplitter, 1u);
}

TEST_F(SettingsStoreTest, StoredWorkspaceIsRestoredWithNegativePositions) {
    PutWorkspace();
    const WorkspaceRestore restore = store.ReadWorkspace();
    ASSERT_TRUE(restore.Window);
    EXPECT_EQ(restore.Window->X, -20);
    EXPECT_EQ(restore.Window->Y, 30);
    EXPECT_EQ(restore.Window->Width, 1000);
    EXPECT_EQ(restore.Window->Height, 700);
    EXPECT_EQ(restore.Panes.First, 300);
    EXPECT_EQ(restore.Panes.Second, 250);
    EXPECT_EQ(restore.Panes.Third, 160);
    EXPECT_EQ(restore.Panes.Fourth, 150);
}

TEST_F(SettingsStoreTest, PartlyStoredPanesRestoreNoneOfThem) {
    PutWorkspace();
    // Remove one pane value by overwriting it with something unreadable as a DWORD.
    ASSERT_EQ(SetStringValue(*SettingsKey(), "FourthWiewHeight", "190 pixels"), 0u);
    const WorkspaceRestore restore = store.ReadWorkspace();
    EXPECT_TRUE(restore.Window);
    EXPECT_EQ(restore.Panes.First, 404);
    EXPECT_EQ(restore.Panes.Second, 228);
    EXPECT_EQ(restore.Panes.Third, 170);
    EXPECT_EQ(restore.Panes.Fourth, 190);
}

TEST_F(SettingsStoreTest, MissingWindowValueRestoresNeitherWindowNorPanes) {
    PutWorkspace();
    ASSERT_EQ(SetStringValue(*SettingsKey(), "WorkspaceY", ""), 0u);
    const WorkspaceRestore restore = store.ReadWorkspace();
    EXPECT_FALSE(restore.Window);
    EXPECT_EQ(restore.Panes.First, 404);
}

TEST_F(SettingsStoreTest, WorkspaceIsNeitherRestoredNorSavedUnlessSaveWorkspaceInfoIsOne) {
    PutWorkspace();
    Put("SaveWorkspaceInfo", 2);
    const WorkspaceRestore restore = store.ReadWorkspace();
    EXPECT_FALSE(restore.Window);
    EXPECT_EQ(restore.Panes.First, 404);
    EXPECT_FALSE(store.IsWorkspaceSaved());

    EXPECT_EQ(store.SaveWorkspace({1, 2, 3, 4}, {5, 6, 7, 8}), ERROR_SUCCESS);
    EXPECT_EQ(Get("WorkspaceWidth"), 1000u);
    EXPECT_EQ(Get("FirstWiewWidth"), 300u);
}

TEST_F(SettingsStoreTest, SavedWorkspaceReadsBackAtTheNextStart) {
    Put("SaveWorkspaceInfo", 1);
    ASSERT_TRUE(store.IsWorkspaceSaved());
    EXPECT_EQ(store.SaveWorkspace({-5, 12, 900, 650}, {410, 230, 171, 191}), ERROR_SUCCESS);
    EXPECT_EQ(Get("WorkspaceX"), static_cast<std::uint32_t>(-5));

    const WorkspaceRestore restore = SettingsStore(*platform.Reopen()).ReadWorkspace();
    ASSERT_TRUE(restore.Window);
    EXPECT_EQ(restore.Window->X, -5);
    EXPECT_EQ(restore.Window->Width, 900);
    EXPECT_EQ(restore.Panes.First, 410);
    EXPECT_EQ(restore.Panes.Fourth, 191);
}

TEST_F(SettingsStoreTest, FailedWritesAreReportedAfterEveryValueWasTried) {
    PutWorkspace();
    constexpr Status kDiskFull = 112;
    // The first write fails, or only the last of the three settings.
    for (const int failingWrite : {1, 3}) {
        FailingRegistry failing(*platform.local, failingWrite);
        SettingsStore failingStore(failing);
        EXPECT_EQ(failingStore.WriteSettings({1, 0, 0}), kDiskFull) << failingWrite;
        EXPECT_EQ(failing.WritesSeen(), 3);
        EXPECT_EQ(failingStore.SaveWorkspace({1, 2, 3, 4}, {5, 6, 7, 8}), kDiskFull);
        EXPECT_EQ(failing.WritesSeen(), 3 + 8);
    }
    // What came before the failure was written.
    EXPECT_EQ(Get("WelcomeScreen"), 0u);
    EXPECT_FALSE(Get("LockHorizontalSplitter"));
}

}  // namespace
}  // namespace vn::test
