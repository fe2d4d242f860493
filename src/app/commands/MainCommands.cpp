#include "app/commands/MainCommands.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "app/CommandIds.h"
#include "app/MainWindowContext.h"
#include "app/commands/CMainInstallView.h"
#include "app/commands/CMainPolicyView.h"
#include "app/commands/CMainToolBar.h"
#include "app/commands/CommandTexts.h"
#include "app/commands/FocusTreeOnExit.h"
#include "app/commands/SelectionJobs.h"
#include "ui/HyperlinkLabel.h"

namespace vn {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MainCommands::MainCommands(MainWindowContext& context, QObject* parent)
    : QObject(parent),
      context_(context),
      scans_(context, launchers_, files_),
      tree_(context, files_),
      actions_(context, launchers_),
      help_(context) {
    for (const MenuText& text : ContextMenuTexts())
        contextMenus_[text.Id].reset(BuildMenu(text, nullptr));
}

MainCommands::~MainCommands() = default;

void MainCommands::SetLaunchers(SubsystemLaunchers launchers) {
    launchers_ = std::move(launchers);
    UpdatePanels();
    OnSelectionChanged();
}

QMenu* MainCommands::BuildMenu(const MenuText& text, QWidget* parent) {
    auto* menu = new QMenu(Text(text.Title), parent);
    for (const MenuItemText& item : text.Items) {
        if (item.Id == 0) {
            menu->addSeparator();
        } else if (item.Id == kAddSubmenuMarker) {
            menu->addMenu(BuildMenu(AddSubmenu(), menu));
        } else {
            QAction* action = menu->addAction(Text(item.Text));
            action->setData(item.Id);
            action->setStatusTip(Text(CommandPrompt(item.Id)));
            action->setCheckable(item.Id == cmd::kViewToolBar || item.Id == cmd::kViewStatusBar);
            const int id = item.Id;
            connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        }
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(*menu); });
    return menu;
}

void MainCommands::UpdateMenu(QMenu& menu) const {
    for (QAction* action : menu.actions()) {
        const int id = action->data().toInt();
        if (id == 0)
            continue;
        action->setEnabled(IsEnabled(id));
        if (id == cmd::kViewToolBar)
            action->setChecked(context_.IsToolBarVisible());
        else if (id == cmd::kViewStatusBar)
            action->setChecked(context_.IsStatusBarVisible());
    }
}

void MainCommands::BuildMenuBar(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    for (const MenuText& text : MenuBarTexts())
        bar->addMenu(BuildMenu(text, bar));
    for (QAction* action : bar->findChildren<QAction*>()) {
        if (action->data().toInt() == cmd::kGettingStarted)
            action->setShortcut(QKeySequence::HelpContents);
    }
}

QMenu* MainCommands::ContextMenu(int menuId) const {
    const auto found = contextMenus_.find(menuId);
    return found != contextMenus_.end() ? found->second.get() : nullptr;
}

QWidget* MainCommands::CreateToolBarForm(QWidget* parent) {
    auto* form = new CMainToolBar(parent);
    connect(form, &CMainToolBar::commandTriggered, this, &MainCommands::Execute);
    return form;
}

QWidget* MainCommands::CreatePolicyPanel(QWidget* parent) {
    policyPanel_ = new CMainPolicyView(parent);
    connect(policyPanel_, &CMainPolicyView::groupPolicyRequested, this, [this] { Execute(cmd::kGroupPolicy); });
    connect(policyPanel_, &CMainPolicyView::checkPoliciesRequested, this,
            [this] { actions_.CheckPoliciesOfSelection(); });
    UpdatePanels();
    return policyPanel_;
}

QWidget* MainCommands::CreateInstallPanel(QWidget* parent) {
    installPanel_ = new CMainInstallView(parent);
    connect(installPanel_, &CMainInstallView::installRequested, this, [this] { Execute(cmd::kInstall); });
    UpdatePanels();
    return installPanel_;
}

void MainCommands::UpdatePanels() {
    // Each QPointer is read once: every read may find the panel gone, so a
    // second read after the check could be null.
    if (CMainPolicyView* panel = policyPanel_.data()) {
        panel->GroupPoliciesLink()->setEnabled(IsAvailable(cmd::kGroupPolicy));
        panel->CheckPoliciesButton()->setEnabled(IsAvailable(cmd::kCheckGroupPolicies));
    }
    if (CMainInstallView* panel = installPanel_.data())
        panel->InstallButton()->setEnabled(IsAvailable(cmd::kInstall));
}

bool MainCommands::IsAvailable(int commandId) const {
    switch (commandId) {
        case cmd::kScanNetwork: return static_cast<bool>(launchers_.ScanNetwork);
        case cmd::kScanSubnet: return static_cast<bool>(launchers_.ScanSubnet);
        case cmd::kInstall: return static_cast<bool>(launchers_.DeploymentWizard);
        case cmd::kCheckGroupPolicies: return static_cast<bool>(launchers_.PolicyCheck);
        case cmd::kGroupPolicy: return static_cast<bool>(launchers_.PolicyTemplate);
        case cmd::kDisableEnableServices: return static_cast<bool>(launchers_.ServiceManager);
        case cmd::kRefreshFolders:
        case cmd::kRemoveFolders: return false;  // no command answers these
        default: return true;
    }
}

bool MainCommands::IsEnabled(int commandId) const {
    if (!IsAvailable(commandId))
        return false;
    if (commandId != cmd::kRemove && commandId != cmd::kRescan && commandId != cmd::kInstall)
        return true;
    const std::vector<InventoryNode*> selection = context_.SelectedNodes();
    if (selection.empty())
        return commandId != cmd::kRemove;
    return selection.size() == 1 || AllComputers(selection);
}

void MainCommands::OnSelectionChanged() {
    const InventoryNode* caret = context_.CaretNode();
    const bool computer = caret != nullptr && !caret->IsFolder;
    context_.EnableToolBarButton(cmd::kRescan, caret != nullptr);
    context_.EnableToolBarButton(cmd::kInstall, computer && IsAvailable(cmd::kInstall));
    context_.EnableToolBarButton(cmd::kDisableEnableServices, computer && IsAvailable(cmd::kDisableEnableServices));
}

void MainCommands::ShowSettings() {
    FocusTreeOnExit focus(context_);
    context_.ShowSettingsDialog();
}

void MainCommands::Execute(int commandId) {
    switch (commandId) {
        case cmd::kAddComputer: scans_.AddComputer(); break;
        case cmd::kAddFolder: tree_.AddFolder(); break;
        case cmd::kRemove: tree_.Remove(); break;
        case cmd::kRescan: scans_.Rescan(); break;
        case cmd::kInstall: actions_.Install(); break;
        case cmd::kScanNetwork: scans_.ScanNetwork(); break;
        case cmd::kScanSubnet: scans_.ScanSubnet(); break;
        case cmd::kExportComputerList: tree_.ExportComputerList(); break;
        case cmd::kImportComputerList: scans_.ImportComputerList(); break;
        case cmd::kExit: context_.RequestClose(); break;
        case cmd::kViewStatusBar: context_.SetStatusBarVisible(!context_.IsStatusBarVisible()); break;
        case cmd::kViewToolBar: context_.SetToolBarVisible(!context_.IsToolBarVisible()); break;
        case cmd::kGroupPolicy: actions_.GroupPolicy(); break;
        case cmd::kSettings: ShowSettings(); break;
        case cmd::kAbout: help_.About(); break;
        case cmd::kWhatNetwardenDetects: help_.WhatNetwardenDetects(); break;
        case cmd::kSupport: help_.Support(); break;
        case cmd::kGettingStarted: help_.GettingStarted(); break;
        case cmd::kDisableEnableServices: actions_.DisableEnableServices(); break;
        case cmd::kCheckGroupPolicies: actions_.CheckGroupPolicies(); break;
        case cmd::kScan: scans_.ScanChooser(); break;
        default: break;
    }
}

}  // namespace vn
