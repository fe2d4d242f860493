#pragma once

#include <cstdint>

namespace vn {

// The three user settings, kept by the main window, changed in place by the
// settings dialog and written to the registry once, at shutdown.
struct AppSettings {
    // 1: the window geometry and the inventory tree are saved at exit and the
    // geometry restored at start; any other value: neither.
    std::uint32_t SaveWorkspaceInfo = 1;
    // Non-zero: the welcome screen is shown after start.
    std::uint32_t WelcomeScreen = 0;
    // Non-zero: the bars between the three right-hand panes cannot be dragged.
    std::uint32_t LockHorizontalSplitter = 1;
};

}  // namespace vn
