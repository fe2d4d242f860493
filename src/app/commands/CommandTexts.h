#pragma once

#include <span>
#include <string_view>

namespace vn {

// One entry of a menu: a command with its text, or a separator (Id 0).
struct MenuItemText {
    int Id;
    std::string_view Text;
};

// One pull-down menu of the menu bar, or one context menu.
struct MenuText {
    int Id;                  // the menu resource for context menus; 0 for pull-downs
    std::string_view Title;  // the pull-down's title; empty for context menus
    std::span<const MenuItemText> Items;
};

// The status-bar prompt of a command; empty when it has none.
std::string_view CommandPrompt(int commandId);

// The File, View and Help menus of the menu bar, in order. File's "Add"
// sub-menu is the pull-down AddSubmenu(), placed where the File menu holds
// the item kAddSubmenuMarker.
std::span<const MenuText> MenuBarTexts();
const MenuText& AddSubmenu();
inline constexpr int kAddSubmenuMarker = -1;

// The tree's context menus 174 to 178.
std::span<const MenuText> ContextMenuTexts();

}  // namespace vn
