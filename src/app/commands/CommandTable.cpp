#include "app/commands/CommandTable.h"

#include <algorithm>

#include "app/CommandIds.h"
#include "app/MainWindowContext.h"
#include "app/commands/ActionCommands.h"
#include "app/commands/CommandHandlers.h"
#include "app/commands/FocusTreeOnExit.h"
#include "app/commands/HelpCommands.h"
#include "app/commands/ScanCommands.h"
#include "app/commands/TreeCommands.h"
#include "ui/PictureIds.h"

namespace vn {
namespace {

void ShowSettings(CommandHandlers& with) {
    FocusTreeOnExit focus(with.context);
    with.context.ShowSettingsDialog();
}

constexpr CommandRow kCommands[] = {
    // File menu.
    {.Id = cmd::kAddComputer,
     .ObjectName = "actionAddComputer",
     .MenuText = "Computer...",
     .Prompt = "Add computer to the selected folder",
     .Tip = "Scan Single Computer",
     .Caption = "Add computer",
     .Picture = picture::kToolAddComputer,
     .Run = [](CommandHandlers& with) { with.scans.AddComputer(); }},
    {.Id = cmd::kAddFolder,
     .ObjectName = "actionAddFolder",
     .MenuText = "Folder...",
     .Prompt = "Add folder to the selected folder",
     .Run = [](CommandHandlers& with) { with.tree.AddFolder(); }},
    {.Id = cmd::kRemove,
     .ObjectName = "actionRemove",
     .MenuText = "Remove",
     .Prompt = "Remove selected item(s)",
     .MenuState = OneNodeOrOnlyComputers,
     .Run = [](CommandHandlers& with) { with.tree.Remove(); }},
    {.Id = cmd::kRescan,
     .ObjectName = "actionRescan",
     .MenuText = "Rescan",
     .Prompt = "Rescan selected computer(s) or folder(s)",
     .Tip = "Refresh Scan Information",
     .Caption = "Rescan",
     .Picture = picture::kToolRescan,
     .MenuState = NoneOneNodeOrOnlyComputers,
     .ButtonState = HasCaret,
     .Run = [](CommandHandlers& with) { with.scans.Rescan(); }},
    {.Id = cmd::kInstall,
     .ObjectName = "actionInstall",
     .MenuText = "Install...",
     .Prompt = "Install Vantor to remote computers",
     .Tip = "Install Vantor",
     .Caption = "Install",
     .Picture = picture::kToolInstall,
     .Needs = Subsystem::Deployment,
     .MenuState = NoneOneNodeOrOnlyComputers,
     .ButtonState = CaretIsComputer,
     .Run = [](CommandHandlers& with) { with.actions.Install(); }},
    {.Id = cmd::kScanNetwork,
     .ObjectName = "actionScanNetwork",
     .MenuText = "Scan Network...",
     .Prompt = "Scan the specified network for computers",
     .Needs = Subsystem::NetworkScan,
     .Run = [](CommandHandlers& with) { with.scans.ScanNetwork(); }},
    {.Id = cmd::kScanSubnet,
     .ObjectName = "actionScanSubnet",
     .MenuText = "Scan Subnet...",
     .Prompt = "Scan the specified IP range for computers",
     .Needs = Subsystem::SubnetScan,
     .Run = [](CommandHandlers& with) { with.scans.ScanSubnet(); }},
    {.Id = cmd::kExportComputerList,
     .ObjectName = "actionExportComputerList",
     .MenuText = "Export Computer List...",
     .Prompt = "Export the tree to a file",
     .Tip = "Export Tree",
     .Caption = "Export",
     .Picture = picture::kToolExport,
     .Run = [](CommandHandlers& with) { with.tree.ExportComputerList(); }},
    {.Id = cmd::kImportComputerList,
     .ObjectName = "actionImportComputerList",
     .MenuText = "Import Computer List...",
     .Prompt = "Import a list of computer from a textfile (the file should contain 1 computer name per line)",
     .Tip = "Scan Imported Computers",
     .Caption = "Import",
     .Picture = picture::kToolImport,
     .Run = [](CommandHandlers& with) { with.scans.ImportComputerList(); }},
    {.Id = cmd::kExit,
     .ObjectName = "actionExit",
     .MenuText = "E&xit",
     .Prompt = "Quit the application; prompts to save documents",
     .Run = [](CommandHandlers& with) { with.context.RequestClose(); }},

    // View menu.
    {.Id = cmd::kViewStatusBar,
     .ObjectName = "actionViewStatusBar",
     .MenuText = "&Status Bar",
     .Prompt = "Show or hide the status bar",
     .Checked = [](const MainWindowContext& context) { return context.IsStatusBarVisible(); },
     .Run = [](CommandHandlers& with) { with.context.SetStatusBarVisible(!with.context.IsStatusBarVisible()); }},
    {.Id = cmd::kViewToolBar,
     .ObjectName = "actionViewToolBar",
     .MenuText = "&Tool Bar",
     .Checked = [](const MainWindowContext& context) { return context.IsToolBarVisible(); },
     .Run = [](CommandHandlers& with) { with.context.SetToolBarVisible(!with.context.IsToolBarVisible()); }},
    {.Id = cmd::kGroupPolicy,
     .ObjectName = "actionGroupPolicy",
     .MenuText = "Group Policy",
     .Prompt = "Show the Group Policy information dialog",
     .Needs = Subsystem::PolicyTemplate,
     .Run = [](CommandHandlers& with) { with.actions.GroupPolicy(); }},
    {.Id = cmd::kSettings,
     .ObjectName = "actionSettings",
     .MenuText = "Settings...",
     .Prompt = "Show Vantor Netwarden settings dialog",
     .Run = ShowSettings},

    // Help menu.
    {.Id = cmd::kAbout,
     .ObjectName = "actionAbout",
     .MenuText = "&About Vantor Netwarden...",
     .Prompt = "Display program information, version number and copyright",
     .Run = [](CommandHandlers& with) { with.help.About(); }},
    {.Id = cmd::kWhatNetwardenDetects,
     .ObjectName = "actionWhatNetwardenDetects",
     .MenuText = "What Netwarden detects...",
     .Prompt = "Display a list of remote access products what Netwarden can detects",
     .Run = [](CommandHandlers& with) { with.help.WhatNetwardenDetects(); }},
    {.Id = cmd::kSupport,
     .ObjectName = "actionSupport",
     .MenuText = "Support...",
     .Prompt = "Support",
     .Run = [](CommandHandlers& with) { with.help.Support(); }},
    {.Id = cmd::kGettingStarted,
     .ObjectName = "actionGettingStarted",
     .MenuText = "Vantor Netwarden Getting Started...",
     .Prompt = "List Help topics",
     .Shortcut = QKeySequence::HelpContents,
     .Run = [](CommandHandlers& with) { with.help.GettingStarted(); }},

    // Outside the menu bar.
    {.Id = cmd::kDisableEnableServices,
     .ObjectName = "actionDisableEnableServices",
     .MenuText = "Disable/Enable Services...",
     .Prompt = "Disable/Enable Remote Access Services",
     .Tip = "Disable/Enable Remote Access Services",
     .Caption = "Disable/Enable Services",
     .Picture = picture::kToolServices,
     .Needs = Subsystem::ServiceManager,
     .ButtonState = CaretIsComputer,
     .Run = [](CommandHandlers& with) { with.actions.DisableEnableServices(); }},
    {.Id = cmd::kCheckGroupPolicies,
     .ObjectName = "actionCheckGroupPolicies",
     .MenuText = "Check Group Policies...",
     .Prompt = "Check Vantor Group Policies for this computer and current user.",
     .Needs = Subsystem::PolicyCheck,
     .Run = [](CommandHandlers& with) { with.actions.CheckGroupPolicies(); }},
    {.Id = cmd::kScan,
     .ObjectName = "actionScan",
     .Tip = "Scan Network",
     .Caption = "Scan",
     .Picture = picture::kToolScan,
     .Run = [](CommandHandlers& with) { with.scans.ScanChooser(); }},
    {.Id = cmd::kRefreshFolders, .ObjectName = "actionRefreshFolders", .MenuText = "Refresh"},
    {.Id = cmd::kRemoveFolders, .ObjectName = "actionRemoveFolders", .MenuText = "Remove"},
};

}  // namespace

std::span<const CommandRow> CommandRows() { return kCommands; }

const CommandRow* FindCommandRow(int commandId) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [commandId](const CommandRow& row) { return row.Id == commandId; });
    return found != std::end(kCommands) ? &*found : nullptr;
}

}  // namespace vn
