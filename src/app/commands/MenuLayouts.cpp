#include "app/commands/MenuLayouts.h"

#include <array>

#include "app/context/CommandIds.h"

namespace vn {
namespace {

constexpr MenuEntry kSeparator{};

constexpr MenuEntry kAddItems[] = {{cmd::kAddComputer}, {cmd::kAddFolder}};

constexpr MenuEntry kFileItems[] = {
    {kAddSubmenuMarker, "Add"},
    {cmd::kRemove},
    {cmd::kRenameFolder},
    {cmd::kRescan},
    kSeparator,
    {cmd::kInstall},
    kSeparator,
    {cmd::kScanNetwork},
    {cmd::kScanSubnet},
    kSeparator,
    {cmd::kExportComputerList},
    {cmd::kImportComputerList},
    kSeparator,
    {cmd::kExit},
};

constexpr MenuEntry kViewItems[] = {
    {cmd::kViewStatusBar}, {cmd::kViewToolBar},        {cmd::kGroupPolicy}, kSeparator,
    {cmd::kSettings},      {cmd::kNetworkCredentials},
};

constexpr MenuEntry kHelpItems[] = {
    {cmd::kAbout},
    {cmd::kWhatNetwardenDetects},
    {cmd::kSupport},
    {cmd::kGettingStarted},
};

constexpr MenuEntry kSingleComputerItems[] = {
    {cmd::kInstall, "Install Vantor..."}, {cmd::kRescan},
    {cmd::kRemove, "Remove from list"},   {cmd::kDisableEnableServices},
    {cmd::kCheckGroupPolicies},
};

constexpr MenuEntry kSingleFolderItems[] = {
    {cmd::kAddComputer, "Add Computer..."},
    {cmd::kAddFolder, "Add Folder..."},
    kSeparator,
    {cmd::kRemove},
    {cmd::kRenameFolder, "Rename..."},
    kSeparator,
    {cmd::kRescan, "Rescan Content"},
    kSeparator,
    {cmd::kImportComputerList},
    {cmd::kScanNetwork},
    {cmd::kScanSubnet},
};

constexpr MenuEntry kSeveralComputersItems[] = {
    {cmd::kInstall, "Install Vantor..."},
    {cmd::kRescan},
    {cmd::kRemove, "Remove from List"},
};

constexpr MenuEntry kSeveralFoldersItems[] = {{cmd::kRefreshFolders}, {cmd::kRemoveFolders}};

constexpr MenuEntry kSingleFailedComputerItems[] = {{cmd::kRescan}, {cmd::kRemove, "Remove from list"}};

constexpr std::array<MenuLayout, 3> kMenuBar{{
    {0, "&File", kFileItems},
    {0, "&View", kViewItems},
    {0, "&Help", kHelpItems},
}};

constexpr MenuLayout kAddMenu{0, "Add", kAddItems};

constexpr std::array<MenuLayout, 5> kContextMenus{{
    {menu::kSingleComputer, {}, kSingleComputerItems},
    {menu::kSingleFolder, {}, kSingleFolderItems},
    {menu::kSeveralComputers, {}, kSeveralComputersItems},
    {menu::kSeveralFolders, {}, kSeveralFoldersItems},
    {menu::kSingleFailedComputer, {}, kSingleFailedComputerItems},
}};

}  // namespace

std::span<const MenuLayout> MenuBarLayout() { return kMenuBar; }

const MenuLayout& AddSubmenu() { return kAddMenu; }

std::span<const MenuLayout> ContextMenuLayouts() { return kContextMenus; }

}  // namespace vn
