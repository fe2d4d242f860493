#pragma once

#include <span>
#include <string_view>

namespace vn {

// One entry of a menu: a command (vn::cmd), a separator (id 0) or the File
// menu's "Add" sub-menu (kAddSubmenuMarker). The text is set where this menu
// names the command otherwise than its row in the command table.
struct MenuEntry {
    int id = 0;
    std::string_view text = {};
};

// One pull-down menu of the menu bar, or one context menu.
struct MenuLayout {
    int id;                  // the menu resource for context menus; 0 for pull-downs
    std::string_view title;  // the pull-down's title; empty for context menus
    std::span<const MenuEntry> items;
};

// The File, View and Help menus of the menu bar, in order. File's "Add"
// sub-menu is the pull-down AddSubmenu(), placed where the File menu holds
// the item kAddSubmenuMarker.
std::span<const MenuLayout> MenuBarLayout();
const MenuLayout& AddSubmenu();
inline constexpr int kAddSubmenuMarker = -1;

// The tree's context menus 174 to 178.
std::span<const MenuLayout> ContextMenuLayouts();

}  // namespace vn
