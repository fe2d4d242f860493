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
    if (QueryDwordValue(key, name, value) != ERROR_SUCCESS)
        return false;
    target = static_cast<T>(value);
    return true;
}

// Keeps the first failure of a series of writes.
class FirstFailure {
public:
    void Note(Status status) {
        if (status_ == ERROR_SUCCESS)
            status_ = status;
    }
    Status Result() const { return status_; }

private:
    Status status_ = ERROR_SUCCESS;
};

Status Write(RegistryKey& key, std::string_view name, int value) {
    // Screen positions left of or above the primary screen are negative;
    // they are stored as their 32-bit pattern, as a DWORD holds them.
    return SetDwordValue(key, name, static_cast<std::uint32_t>(value));
}

}  // namespace

Status SettingsStore::OpenSettingsKey(bool create, RegistryKeyPtr& key) {
    key.reset();
    RegistryKeyPtr hive;
    if (const Status status = registry_.Connect("", Hive::CurrentUser, hive); status != ERROR_SUCCESS)
        return status;
    return create ? hive->CreateKey(kSettingsKey, KEY_ALL_ACCESS, key)
                  : hive->OpenKey(kSettingsKey, KEY_ALL_ACCESS, key);
}

void SettingsStore::ReadSettings(AppSettings& settings) {
    RegistryKeyPtr key;
    if (OpenSettingsKey(false, key) != ERROR_SUCCESS)
        return;
    ReadInto(*key, kSaveWorkspaceInfo, settings.SaveWorkspaceInfo);
    ReadInto(*key, kWelcomeScreen, settings.WelcomeScreen);
    ReadInto(*key, kLockHorizontalSplitter, settings.LockHorizontalSplitter);
}

Status SettingsStore::WriteSettings(const AppSettings& settings) {
    RegistryKeyPtr key;
    if (const Status status = OpenSettingsKey(true, key); status != ERROR_SUCCESS)
        return status;
    FirstFailure failure;
    failure.Note(SetDwordValue(*key, kSaveWorkspaceInfo, settings.SaveWorkspaceInfo));
    failure.Note(SetDwordValue(*key, kWelcomeScreen, settings.WelcomeScreen));
    failure.Note(SetDwordValue(*key, kLockHorizontalSplitter, settings.LockHorizontalSplitter));
    return failure.Result();
}

bool SettingsStore::IsWorkspaceSaved() {
    RegistryKeyPtr key;
    std::uint32_t save = 0;
    return OpenSettingsKey(true, key) == ERROR_SUCCESS && ReadInto(*key, kSaveWorkspaceInfo, save) && save == 1;
}

WorkspaceRestore SettingsStore::ReadWorkspace() {
    WorkspaceRestore restore;
    RegistryKeyPtr key;
    std::uint32_t save = 0;
    if (OpenSettingsKey(true, key) != ERROR_SUCCESS || !ReadInto(*key, kSaveWorkspaceInfo, save) || save != 1)
        return restore;

    WindowRect window;
    const bool windowRead = ReadInto(*key, kWorkspaceWidth, window.Width) &&
                            ReadInto(*key, kWorkspaceHeight, window.Height) && ReadInto(*key, kWorkspaceX, window.X) &&
                            ReadInto(*key, kWorkspaceY, window.Y);
    if (windowRead)
        restore.Window = window;

    PaneSizes panes;
    const bool panesRead =
        ReadInto(*key, kFirstViewWidth, panes.First) && ReadInto(*key, kSecondViewHeight, panes.Second) &&
        ReadInto(*key, kThirdViewHeight, panes.Third) && ReadInto(*key, kFourthViewHeight, panes.Fourth);
    // A partly stored set of panes restores none of them.
    if (windowRead && panesRead)
        restore.Panes = panes;
    return restore;
}

Status SettingsStore::SaveWorkspace(const WindowRect& window, const PaneSizes& panes) {
    RegistryKeyPtr key;
    if (const Status status = OpenSettingsKey(true, key); status != ERROR_SUCCESS)
        return status;
    std::uint32_t save = 0;
    if (!ReadInto(*key, kSaveWorkspaceInfo, save) || save != 1)
        return ERROR_SUCCESS;
    FirstFailure failure;
    failure.Note(Write(*key, kWorkspaceWidth, window.Width));
    failure.Note(Write(*key, kWorkspaceHeight, window.Height));
    failure.Note(Write(*key, kWorkspaceX, window.X));
    failure.Note(Write(*key, kWorkspaceY, window.Y));
    failure.Note(Write(*key, kFirstViewWidth, panes.First));
    failure.Note(Write(*key, kSecondViewHeight, panes.Second));
    failure.Note(Write(*key, kThirdViewHeight, panes.Third));
    failure.Note(Write(*key, kFourthViewHeight, panes.Fourth));
    return failure.Result();
}

}  // namespace vn
