#include "app/SettingsStore.h"

#include "platform/RegistryValues.h"

namespace vn {
namespace {

constexpr std::string_view kSaveWorkspaceInfo = "SaveWorkspaceInfo";
constexpr std::string_view kWelcomeScreen = "WelcomeScreen";
constexpr std::string_view kLockHorizontalSplitter = "LockHorizontalSplitter";
constexpr std::string_view kWorkspaceWidth = "WorkspaceWidth";
constexpr std::string_view kWorkspaceHeight = "WorkspaceHeight";
constexpr std::string_view kWorkspaceX = "WorkspaceX";
constexpr std::string_view kWorkspaceY = "WorkspaceY";
constexpr std::string_view kFirstViewWidth = "FirstWiewWidth";
constexpr std::string_view kSecondViewHeight = "SecondWiewHeight";
constexpr std::string_view kThirdViewHeight = "ThirdWiewHeight";
constexpr std::string_view kFourthViewHeight = "FourthWiewHeight";

// Reads a DWORD into target when it can be read; target keeps its value otherwise.
template <typename T>
bool ReadInto(RegistryKey& key, std::string_view name, T& target) {
    std::uint32_t value = 0;
    if (QueryDwordValue(key, name, value) != 0)
        return false;
    target = static_cast<T>(value);
    return true;
}

void Write(RegistryKey& key, std::string_view name, int value) {
    // Screen positions left of or above the primary screen are negative;
    // they are stored as their 32-bit pattern, as a DWORD holds them.
    SetDwordValue(key, name, static_cast<std::uint32_t>(value));
}

}  // namespace

RegistryKeyPtr SettingsStore::OpenSettingsKey(bool create) {
    RegistryKeyPtr hive;
    if (registry_.Connect("", Hive::CurrentUser, hive) != 0 || !hive)
        return nullptr;
    RegistryKeyPtr key;
    const Status status = create ? hive->CreateKey(kSettingsKey, KEY_ALL_ACCESS, key)
                                 : hive->OpenKey(kSettingsKey, KEY_ALL_ACCESS, key);
    return status == 0 ? std::move(key) : nullptr;
}

void SettingsStore::ReadSettings(AppSettings& settings) {
    RegistryKeyPtr key = OpenSettingsKey(false);
    if (!key)
        return;
    ReadInto(*key, kSaveWorkspaceInfo, settings.SaveWorkspaceInfo);
    ReadInto(*key, kWelcomeScreen, settings.WelcomeScreen);
    ReadInto(*key, kLockHorizontalSplitter, settings.LockHorizontalSplitter);
}

void SettingsStore::WriteSettings(const AppSettings& settings) {
    RegistryKeyPtr key = OpenSettingsKey(true);
    if (!key)
        return;
    SetDwordValue(*key, kSaveWorkspaceInfo, settings.SaveWorkspaceInfo);
    SetDwordValue(*key, kWelcomeScreen, settings.WelcomeScreen);
    SetDwordValue(*key, kLockHorizontalSplitter, settings.LockHorizontalSplitter);
}

bool SettingsStore::IsWorkspaceSaved() {
    RegistryKeyPtr key = OpenSettingsKey(true);
    std::uint32_t save = 0;
    return key && ReadInto(*key, kSaveWorkspaceInfo, save) && save == 1;
}

WorkspaceRestore SettingsStore::ReadWorkspace() {
    WorkspaceRestore restore;
    RegistryKeyPtr key = OpenSettingsKey(true);
    std::uint32_t save = 0;
    if (!key || !ReadInto(*key, kSaveWorkspaceInfo, save) || save != 1)
        return restore;

    WindowRect window;
    const bool windowRead = ReadInto(*key, kWorkspaceWidth, window.Width) &
                            ReadInto(*key, kWorkspaceHeight, window.Height) &
                            ReadInto(*key, kWorkspaceX, window.X) & ReadInto(*key, kWorkspaceY, window.Y);
    if (windowRead)
        restore.Window = window;

    PaneSizes panes;
    const bool panesRead = ReadInto(*key, kFirstViewWidth, panes.First) &
                           ReadInto(*key, kSecondViewHeight, panes.Second) &
                           ReadInto(*key, kThirdViewHeight, panes.Third) &
                           ReadInto(*key, kFourthViewHeight, panes.Fourth);
    // A partly stored set of panes restores none of them.
    if (windowRead && panesRead)
        restore.Panes = panes;
    return restore;
}

void SettingsStore::SaveWorkspace(const WindowRect& window, const PaneSizes& panes) {
    RegistryKeyPtr key = OpenSettingsKey(true);
    std::uint32_t save = 0;
    if (!key || !ReadInto(*key, kSaveWorkspaceInfo, save) || save != 1)
        return;
    Write(*key, kWorkspaceWidth, window.Width);
    Write(*key, kWorkspaceHeight, window.Height);
    Write(*key, kWorkspaceX, window.X);
    Write(*key, kWorkspaceY, window.Y);
    Write(*key, kFirstViewWidth, panes.First);
    Write(*key, kSecondViewHeight, panes.Second);
    Write(*key, kThirdViewHeight, panes.Third);
    Write(*key, kFourthViewHeight, panes.Fourth);
}

}  // namespace vn
