#include "app/commands/CommandTable.h"

#include <algorithm>

#include "app/commands/ActionCommands.h"
#include "app/commands/CommandHandlers.h"
#include "app/commands/FocusTreeOnExit.h"
#include "app/commands/HelpCommands.h"
#include "app/commands/ScanCommands.h"
#include "app/commands/TreeCommands.h"
#include "app/context/CommandIds.h"
#include "app/context/MainWindowContext.h"
#include "pictures/PictureIds.h"

namespace vn {
namespace {

void ShowSettings(CommandHandlers& with) {
    FocusTreeOnExit focus(with.context);
    with.context.ShowSettingsDialog();
}

constexpr CommandRow kCommands[] = {
    // File menu.
    {.id = cmd::kAddComputer,
     .objectName = "actionAddComputer",
     .menuText = "Computer...",
     .prompt = "Add computer to the selected folder",
     .tip = "Scan Single Computer",
     .caption = "Add computer",
     .picture = picture::kToolAddComputer,
     .run = [](CommandHandlers& with) { with.scans.AddComputer(); }},
    {.id = cmd::kAddFolder,
     .objectName = "actionAddFolder",
     .menuText = "Folder...",
     .prompt = "Add folder to the selected folder",
     .run = [](CommandHandlers& with) { with.tree.AddFolder(); }},
    {.id = cmd::kRemove,
     .objectName = "actionRemove",
     .menuText = "Remove",
     .prompt = "Remove selected item(s)",
     .menuState = OneNodeOrOnlyComputers,
     .run = [](CommandHandlers& with) { with.tree.Remove(); }},
    {.id = cmd::kRenameFolder,
     .objectName = "actionRenameFolder",
     .menuText = "Rename Folder...",
     .prompt = "Rename the selected folder",
     .menuState = OneFolder,
     .buttonState = OneFolderSelected,
     .key = Qt::Key_F2,
     .run = [](CommandHandlers& with) { with.tree.RenameFolder(); }},
    {.id = cmd::kRescan,
     .objectName = "actionRescan",
     .menuText = "Rescan",
     .prompt = "Rescan selected computer(s) or folder(s)",
     .tip = "Refresh Scan Information",
     .caption = "Rescan",
     .picture = picture::kToolRescan,
     .menuState = NoneOneNodeOrOnlyComputers,
     .buttonState = HasCaret,
     .run = [](CommandHandlers& with) { with.scans.Rescan(); }},
    {.id = cmd::kInstall,
     .objectName = "actionInstall",
     .menuText = "Install...",
     .prompt = "Install Vantor to remote computers",
     .tip = "Install Vantor",
     .caption = "Install",
     .picture = picture::kToolInstall,
     .needs = Subsystem::Deployment,
     .menuState = NoneOneNodeOrOnlyComputers,
     .buttonState = SelectionHoldsComputer,
     .run = [](CommandHandlers& with) { with.actions.Install(); }},
    {.id = cmd::kScanNetwork,
     .objectName = "actionScanNetwork",
     .menuText = "Scan Network...",
     .prompt = "Scan the specified network for computers",
     .needs = Subsystem::NetworkScan,
     .run = [](CommandHandlers& with) { with.scans.ScanNetwork(); }},
    {.id = cmd::kScanSubnet,
     .objectName = "actionScanSubnet",
     .menuText = "Scan Subnet...",
     .prompt = "Scan the specified IP range for computers",
     .needs = Subsystem::SubnetScan,
     .run = [](CommandHandlers& with) { with.scans.ScanSubnet(); }},
    {.id = cmd::kExportComputerList,
     .objectName = "actionExportComputerList",
     .menuText = "Export Computer List...",
     .prompt = "Export the tree to a file",
     .tip = "Export Tree",
     .caption = "Export",
     .picture = picture::kToolExport,
     .run = [](CommandHandlers& with) { with.tree.ExportComputerList(); }},
    {.id = cmd::kImportComputerList,
     .objectName = "actionImportComputerList",
     .menuText = "Import Computer List...",
     .prompt = "Import a list of computer from a textfile (the file should contain 1 computer name per line)",
     .tip = "Scan Imported Computers",
     .caption = "Import",
     .picture = picture::kToolImport,
     .run = [](CommandHandlers& with) { with.scans.ImportComputerList(); }},
    {.id = cmd::kExit,
     .objectName = "actionExit",
     .menuText = "E&xit",
     .prompt = "Quit the application; prompts to save documents",
     .run = [](CommandHandlers& with) { with.context.RequestClose(); }},

    // View menu.
    {.id = cmd::kViewStatusBar,
     .objectName = "actionViewStatusBar",
     .menuText = "&Status Bar",
     .prompt = "Show or hide the status bar",
     .checked = [](const MainWindowContext& context) { return context.IsStatusBarVisible(); },
     .run = [](CommandHandlers& with) { with.context.SetStatusBarVisible(!with.context.IsStatusBarVisible()); }},
    {.id = cmd::kViewToolBar,
     .objectName = "actionViewToolBar",
     .menuText = "&Tool Bar",
     .checked = [](const MainWindowContext& context) { return context.IsToolBarVisible(); },
     .run = [](CommandHandlers& with) { with.context.SetToolBarVisible(!with.context.IsToolBarVisible()); }},
    {.id = cmd::kGroupPolicy,
     .objectName = "actionGroupPolicy",
     .menuText = "Group Policy",
     .prompt = "Show the Group Policy information dialog",
     .needs = Subsystem::PolicyTemplate,
     .run = [](CommandHandlers& with) { with.actions.GroupPolicy(); }},
    {.id = cmd::kSettings,
     .objectName = "actionSettings",
     .menuText = "Settings...",
     .prompt = "Show Vantor Netwarden settings dialog",
     .run = ShowSettings},
    {.id = cmd::kNetworkCredentials,
     .objectName = "actionNetworkCredentials",
     .menuText = "Network Credentials...",
     .prompt = "Set the user name and password used to examine other computers",
     .run =
         [](CommandHandlers& with) {
             FocusTreeOnExit focus(with.context);
             with.context.ShowNetworkCredentialsDialog();
         }},

    // Help menu.
    {.id = cmd::kAbout,
     .objectName = "actionAbout",
     .menuText = "&About Vantor Netwarden...",
     .prompt = "Display program information, version number and copyright",
     .run = [](CommandHandlers& with) { with.help.About(); }},
    {.id = cmd::kWhatNetwardenDetects,
     .objectName = "actionWhatNetwardenDetects",
     .menuText = "What Netwarden detects...",
     .prompt = "Display a list of remote access products what Netwarden can detects",
     .run = [](CommandHandlers& with) { with.help.WhatNetwardenDetects(); }},
    {.id = cmd::kSupport,
     .objectName = "actionSupport",
     .menuText = "Support...",
     .prompt = "Support",
     .run = [](CommandHandlers& with) { with.help.Support(); }},
    {.id = cmd::kGettingStarted,
     .objectName = "actionGettingStarted",
     .menuText = "Vantor Netwarden Getting Started...",
     .prompt = "List Help topics",
     .shortcut = QKeySequence::HelpContents,
     .run = [](CommandHandlers& with) { with.help.GettingStarted(); }},

    // Outside the menu bar.
    {.id = cmd::kDisableEnableServices,
     .objectName = "actionDisableEnableServices",
     .menuText = "Disable/Enable Services...",
     .prompt = "Disable/Enable Remote Access Services",
     .tip = "Disable/Enable Remote Access Services",
     .caption = "Disable/Enable Services",
     .picture = picture::kToolServices,
     .needs = Subsystem::ServiceManager,
     .buttonState = OneComputerSelected,
     .run = [](CommandHandlers& with) { with.actions.DisableEnableServices(); }},
    {.id = cmd::kCheckGroupPolicies,
     .objectName = "actionCheckGroupPolicies",
     .menuText = "Check Group Policies...",
     .prompt = "Check Vantor Group Policies for this computer and current user.",
     .needs = Subsystem::PolicyCheck,
     .run = [](CommandHandlers& with) { with.actions.CheckGroupPolicies(); }},
    {.id = cmd::kScan,
     .objectName = "actionScan",
     .tip = "Scan Network",
     .caption = "Scan",
     .picture = picture::kToolScan,
     .run = [](CommandHandlers& with) { with.scans.ScanChooser(); }},
    {.id = cmd::kRefreshFolders, .objectName = "actionRefreshFolders", .menuText = "Refresh"},
    {.id = cmd::kRemoveFolders, .objectName = "actionRemoveFolders", .menuText = "Remove"},
};

}  // namespace

std::span<const CommandRow> CommandRows() { return kCommands; }

const CommandRow* FindCommandRow(int commandId) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [commandId](const CommandRow& row) { return row.id == commandId; });
    return found != std::end(kCommands) ? &*found : nullptr;
}

}  // namespace vn
