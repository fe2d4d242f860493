#pragma once

// Command identifiers shared by the menu bar, the toolbar form, the tree's
// context menus, the side panels and the details panes: a control that sends
// one of them to the main window runs the same command.
namespace vn::cmd {

// File menu.
inline constexpr int kAddComputer = 133;
inline constexpr int kAddFolder = 134;
inline constexpr int kRemove = 171;
inline constexpr int kRenameFolder = 138;
inline constexpr int kRescan = 172;
inline constexpr int kInstall = 173;
inline constexpr int kScanNetwork = 136;
inline constexpr int kScanSubnet = 137;
inline constexpr int kExportComputerList = 154;
inline constexpr int kImportComputerList = 135;
inline constexpr int kExit = 57665;  // ID_APP_EXIT

// View menu.
inline constexpr int kViewStatusBar = 59393;  // ID_VIEW_STATUS_BAR
inline constexpr int kViewToolBar = 59392;    // ID_VIEW_TOOLBAR
inline constexpr int kGroupPolicy = 196;
inline constexpr int kSettings = 155;
inline constexpr int kNetworkCredentials = 157;

// Help menu.
inline constexpr int kAbout = 57664;  // ID_APP_ABOUT
inline constexpr int kWhatNetwardenDetects = 202;
inline constexpr int kSupport = 193;
inline constexpr int kGettingStarted = 57667;  // ID_HELP_FINDER

// Outside the menu bar: the services manager (toolbar, context menu 174), the
// group-policy check of one computer (context menu 174) and the toolbar's
// Scan button, which opens the scan chooser.
inline constexpr int kDisableEnableServices = 263;
inline constexpr int kCheckGroupPolicies = 270;
inline constexpr int kScan = 1050;

// The two items of context menu 177 (several folders). No command answers
// them, so they are always shown disabled.
inline constexpr int kRefreshFolders = 153;
inline constexpr int kRemoveFolders = 139;

}  // namespace vn::cmd

// Menu resources: the menu bar and the tree's five context menus.
namespace vn::menu {

inline constexpr int kMenuBar = 128;
inline constexpr int kSingleComputer = 174;        // one computer without an error text
inline constexpr int kSingleFolder = 175;          // one folder
inline constexpr int kSeveralComputers = 176;      // several computers
inline constexpr int kSeveralFolders = 177;        // several folders
inline constexpr int kSingleFailedComputer = 178;  // one computer with an error text, or none under the cursor

}  // namespace vn::menu

// Keys of the six details views in the switchable pane of the main window.
namespace vn::details {

inline constexpr int kComputer = 31;     // CDescriptionComputer
inline constexpr int kComputer2 = 32;    // CDescriptionComputer2, created but never chosen
inline constexpr int kFolder = 33;       // CDescriptionFolder
inline constexpr int kError = 34;        // CDescriptionError
inline constexpr int kBlank = 35;        // CDescriptionBlank: the tree is empty
inline constexpr int kNoSelection = 36;  // CDescriptionNoSelected: items but no caret

}  // namespace vn::details
