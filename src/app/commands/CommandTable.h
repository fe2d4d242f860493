#pragma once

#include <QKeySequence>
#include <span>
#include <string_view>

#include "app/commands/EnableRules.h"
#include "app/commands/SubsystemLaunchers.h"

namespace vn {

class MainWindowContext;
struct CommandHandlers;

// One command of the main window. Each becomes one QAction (named
// objectName) that the menu bar, the tree's context menus and the toolbar
// form share; the details views, the side panels and the welcome screen run
// it by its id.
struct CommandRow {
    int id = 0;  // vn::cmd
    std::string_view objectName = {};
    // The text of its menu item; a context menu may give it another (MenuLayouts).
    std::string_view menuText = {};
    // The status-bar prompt wherever it is chosen; empty for none.
    std::string_view prompt = {};
    // Its toolbar button: tool tip, caption and picture (0: not on the toolbar).
    std::string_view tip = {};
    std::string_view caption = {};
    int picture = 0;
    // Disabled everywhere while this subsystem is not part of the build.
    Subsystem needs = Subsystem::None;
    // Null: enabled.
    MenuRule menuState = nullptr;
    ButtonRule buttonState = nullptr;
    // For the View menu's toggles: whether the item carries its check mark.
    bool (*checked)(const MainWindowContext&) = nullptr;
    QKeySequence::StandardKey shortcut = QKeySequence::UnknownKey;
    // A key of its own where no standard one stands for the command.
    Qt::Key key = Qt::Key_unknown;
    // Null: no command answers the id; its items are always disabled.
    void (*run)(CommandHandlers&) = nullptr;
};

// Every command of the main window.
std::span<const CommandRow> CommandRows();
// The row of a command; null for an id that is not one.
const CommandRow* FindCommandRow(int commandId);

}  // namespace vn
