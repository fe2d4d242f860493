#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "app/context/AppSettings.h"
#include "platform/Registry.h"

namespace vn {

// The sizes of the four panes: the width of the tree pane and the heights of
// the three right-hand panes, top to bottom.
struct PaneSizes {
    int First = 404;
    int Second = 228;
    int Third = 170;
    int Fourth = 190;
};

// The main window's outer rectangle on the screen.
struct WindowRect {
    int X = 0;
    int Y = 0;
    int Width = 864;
    int Height = 641;
};

// What a start restores of the last run's workspace.
struct WorkspaceRestore {
    // Present when SaveWorkspaceInfo is 1 and the four window values were read.
    std::optional<WindowRect> Window;
    // The stored sizes when SaveWorkspaceInfo is 1 and all four were read,
    // else the built-in ones.
    PaneSizes Panes;
};

// The settings record and the workspace values under the current user's key
// "Software\Vantor Netwarden\Settings", one REG_DWORD each. A value that
// cannot be read keeps the one it had (missing values are normal before the
// first exit); a failed write is returned to the caller, who tells the user.
class SettingsStore {
public:
    static constexpr std::string_view kSettingsKey = "Software\\Vantor Netwarden\\Settings";

    explicit SettingsStore(Registry& registry) : registry_(registry) {}

    // Each value that can be read replaces the record's current one; the key
    // is not created.
    void ReadSettings(AppSettings& settings);
    // Creates the key when absent and writes the three values; the first
    // failure, after trying them all.
    [[nodiscard]] Status WriteSettings(const AppSettings& settings);
    // Whether SaveWorkspaceInfo reads back as 1 (the key is created when absent).
    bool IsWorkspaceSaved();

    // The window rectangle and pane sizes stored by the last run; the
    // panes are restored all together or not at all.
    WorkspaceRestore ReadWorkspace();
    // Writes the eight workspace values when SaveWorkspaceInfo reads as 1;
    // the first failure, after trying them all.
    [[nodiscard]] Status SaveWorkspace(const WindowRect& window, const PaneSizes& panes);

private:
    [[nodiscard]] Status OpenSettingsKey(bool create, RegistryKeyPtr& key);

    Registry& registry_;
};

}  // namespace vn
