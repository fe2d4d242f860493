#include "app/commands/CommandTexts.h"

#include <array>

#include "app/CommandIds.h"

namespace vn {
namespace {

struct Prompt {
    int id;
    std::string_view text;
};

constexpr Prompt kPrompts[] = {
    {cmd::kAddComputer, "Add computer to the selected folder"},
    {cmd::kAddFolder, "Add folder to the selected folder"},
    {cmd::kRemove, "Remove selected item(s)"},
    {cmd::kRescan, "Rescan selected computer(s) or folder(s)"},
    {cmd::kInstall, "Install Vantor to remote computers"},
    {cmd::kScanNetwork, "Scan the specified network for computers"},
    {cmd::kScanSubnet, "Scan the specified IP range for computers"},
    {cmd::kExportComputerList, "Export the tree to a file"},
    {cmd::kImportComputerList,
     "Import a list of computer from a textfile (the file should contain 1 computer name per line)"},
    {cmd::kExit, "Quit the application; prompts to save documents"},
    {cmd::kViewStatusBar, "Show or hide the status bar"},
    {cmd::kGroupPolicy, "Show the Group Policy information dialog"},
    {cmd::kSettings, "Show Vantor Netwarden settings dialog"},
    {cmd::kAbout, "Display program information, version number and copyright"},
    {cmd::kWhatNetwardenDetects, "Display a list of remote access products what Netwarden can detects"},
    {cmd::kSupport, "Support"},
    {cmd::kGettingStarted, "List Help topics"},
    {cmd::kDisableEnableServices, "Disable/Enable Remote Access Services"},
    {cmd::kCheckGroupPolicies, "Check Vantor Group Policies for this computer and current user."},
};

constexpr MenuItemText kSeparator{0, {}};

constexpr MenuItemText kAddItems[] = {
    {cmd::kAddComputer, "Computer..."},
    {cmd::kAddFolder, "Folder..."},
};

constexpr MenuItemText kFileItems[] = {
    {kAddSubmenuMarker, "Add"},
    {cmd::kRemove, "Remove"},
    {cmd::kRescan, "Rescan"},
    kSeparator,
    {cmd::kInstall, "Install..."},
    kSeparator,
    {cmd::kScanNetwork, "Scan Network..."},
    {cmd::kScanSubnet, "Scan Subnet..."},
    kSeparator,
    {cmd::kExportComputerList, "Export Computer List..."},
    {cmd::kImportComputerList, "Import Computer List..."},
    kSeparator,
    {cmd::kExit, "E&xit"},
};

constexpr MenuItemText kViewItems[] = {
    {cmd::kViewStatusBar, "&Status Bar"},
    {cmd::kViewToolBar, "&Tool Bar"},
    {cmd::kGroupPolicy, "Group Policy"},
    kSeparator,
    {cmd::kSettings, "Settings..."},
};

constexpr MenuItemText kHelpItems[] = {
    {cmd::kAbout, "&About Vantor Netwarden..."},
    {cmd::kWhatNetwardenDetects, "What Netwarden detects..."},
    {cmd::kSupport, "Support..."},
    {cmd::kGettingStarted, "Vantor Netwarden Getting Started..."},
};

constexpr MenuItemText kSingleComputerItems[] = {
    {cmd::kInstall, "Install Vantor..."},
    {cmd::kRescan, "Rescan"},
    {cmd::kRemove, "Remove from list"},
    {cmd::kDisableEnableServices, "Disable/Enable Services..."},
    {cmd::kCheckGroupPolicies, "Check Group Policies..."},
};

constexpr MenuItemText kSingleFolderItems[] = {
    {cmd::kAddComputer, "Add Computer..."},
    {cmd::kAddFolder, "Add Folder..."},
    kSeparator,
    {cmd::kRemove, "Remove"},
    kSeparator,
    {cmd::kRescan, "Rescan Content"},
    kSeparator,
    {cmd::kImportComputerList, "Import Computer List..."},
    {cmd::kScanNetwork, "Scan Network..."},
    {cmd::kScanSubnet, "Scan Subnet..."},
};

constexpr MenuItemText kSeveralComputersItems[] = {
    {cmd::kInstall, "Install Vantor..."},
    {cmd::kRescan, "Rescan"},
    {cmd::kRemove, "Remove from List"},
};

constexpr MenuItemText kSeveralFoldersItems[] = {
    {cmd::kRefreshFolders, "Refresh"},
    {cmd::kRemoveFolders, "Remove"},
};

constexpr MenuItemText kSingleFailedComputerItems[] = {
    {cmd::kRescan, "Rescan"},
    {cmd::kRemove, "Remove from list"},
};

const std::array<MenuText, 3> kMenuBar{{
    {0, "&File", kFileItems},
    {0, "&View", kViewItems},
    {0, "&Help", kHelpItems},
}};

const MenuText kAddMenu{0, "Add", kAddItems};

const std::array<MenuText, 5> kContextMenus{{
    {menu::kSingleComputer, {}, kSingleComputerItems},
    {menu::kSingleFolder, {}, kSingleFolderItems},
    {menu::kSeveralComputers, {}, kSeveralComputersItems},
    {menu::kSeveralFolders, {}, kSeveralFoldersItems},
    {menu::kSingleFailedComputer, {}, kSingleFailedComputerItems},
}};

}  // namespace

std::string_view CommandPrompt(int commandId) {
    for (const Prompt& prompt : kPrompts) {
        if (prompt.id == commandId)
            return prompt.text;
    }
    return {};
}

std::span<const MenuText> MenuBarTexts() { return kMenuBar; }

const MenuText& AddSubmenu() { return kAddMenu; }

std::span<const MenuText> ContextMenuTexts() { return kContextMenus; }

}  // namespace vn
