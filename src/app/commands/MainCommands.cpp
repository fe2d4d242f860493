#include "app/commands/MainCommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>

#include "app/commands/CMainToolBar.h"
#include "app/commands/CommandTable.h"
#include "app/commands/MenuLayouts.h"
#include "app/context/CommandIds.h"
#include "app/context/MainWindowContext.h"
#include "app/panels/CMainInstallView.h"
#include "app/panels/CMainPolicyView.h"
#include "pictures/ResourceIcon.h"
#include "ui/HyperlinkLabel.h"

namespace vn {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

MainCommands::MainCommands(MainWindowContext& context, QObject* parent)
    : QObject(parent),
      context_(context),
      scans_(context, launchers_, files_),
      tree_(context, files_),
      actions_(context, launchers_),
      help_(context),
      handlers_{context, scans_, tree_, actions_, help_} {
    CreateActions();
    for (const MenuLayout& layout : ContextMenuLayouts())
        contextMenus_[layout.id] = BuildMenu(layout, context_.DialogParent());
}

MainCommands::~MainCommands() {
    // Children of the window, which may outlive this object.
    for (const QPointer<QMenu>& menu : menus_)
        delete menu.data();
    for (const auto& [id, action] : commandActions_)
        delete action.data();
}

void MainCommands::CreateActions() {
    // A context menu sends an item's prompt to the action's parent: the
    // window shows it in its status bar.
    QObject* owner = context_.DialogParent();
    for (const CommandRow& row : CommandRows()) {
        auto* action = new QAction(Text(row.menuText), owner != nullptr ? owner : this);
        action->setObjectName(Text(row.objectName));
        action->setData(row.id);
        action->setStatusTip(Text(row.prompt));
        if (row.picture != 0) {
            action->setIcon(ResourceIcon(row.picture));
            action->setIconVisibleInMenu(false);
            action->setIconText(Text(row.caption));
            action->setToolTip(Text(row.tip));
        }
        action->setCheckable(row.checked != nullptr);
        if (row.shortcut != QKeySequence::UnknownKey)
            action->setShortcut(row.shortcut);
        else if (row.key != Qt::Key_unknown)
            action->setShortcut(QKeySequence(row.key));
        const int id = row.id;
        connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        commandActions_[row.id] = action;
    }
}

QAction* MainCommands::Action(int commandId) const {
    const auto found = commandActions_.find(commandId);
    return found != commandActions_.end() ? found->second.data() : nullptr;
}

void MainCommands::SetLaunchers(SubsystemLaunchers launchers) {
    launchers_ = std::move(launchers);
    UpdatePanels();
    OnSelectionChanged();
}

QMenu* MainCommands::BuildMenu(const MenuLayout& layout, QWidget* parent) {
    auto* menu = new QMenu(Text(layout.title), parent);
    menus_.emplace_back(menu);
    for (const MenuEntry& entry : layout.items) {
        if (entry.id == 0)
            menu->addSeparator();
        else if (entry.id == kAddSubmenuMarker)
            menu->addMenu(BuildMenu(AddSubmenu(), menu));
        else
            menu->addAction(Action(entry.id));
    }
    connect(menu, &QMenu::aboutToShow, this, [this, &layout] { PrepareMenu(layout); });
    // The command chosen runs after the menu has closed, in the state the
    // menu showed: the toolbar's states come back after it.
    connect(menu, &QMenu::aboutToHide, this,
            [this] { QMetaObject::invokeMethod(this, &MainCommands::OnSelectionChanged, Qt::QueuedConnection); });
    return menu;
}

void MainCommands::PrepareMenu(const MenuLayout& layout) {
    for (const MenuEntry& entry : layout.items) {
        const CommandRow* row = FindCommandRow(entry.id);
        if (row == nullptr)
            continue;
        QAction* action = Action(row->id);
        action->setText(Text(entry.text.empty() ? row->menuText : entry.text));
        action->setEnabled(IsMenuEnabled(*row));
        if (row->checked != nullptr)
            action->setChecked(row->checked(context_));
    }
}

void MainCommands::BuildMenuBar(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    for (const MenuLayout& layout : MenuBarLayout())
        bar->addMenu(BuildMenu(layout, bar));
}

QMenu* MainCommands::ContextMenu(int menuId) const {
    const auto found = contextMenus_.find(menuId);
    return found != contextMenus_.end() ? found->second : nullptr;
}

QWidget* MainCommands::CreateToolBarForm(QWidget* parent) {
    return new CMainToolBar([this](int commandId) { return Action(commandId); }, parent);
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
    // The panels' controls stay enabled whatever is selected: they need
    // only their subsystem. Each QPointer is read once: every read may find
    // the panel gone, so a second read after the check could be null.
    auto available = [this](int commandId) { return IsAvailable(*FindCommandRow(commandId)); };
    if (CMainPolicyView* panel = policyPanel_.data()) {
        panel->GroupPoliciesLink()->setEnabled(available(cmd::kGroupPolicy));
        panel->CheckPoliciesButton()->setEnabled(available(cmd::kCheckGroupPolicies));
    }
    if (CMainInstallView* panel = installPanel_.data())
        panel->InstallButton()->setEnabled(available(cmd::kInstall));
}

bool MainCommands::IsAvailable(const CommandRow& row) const {
    return row.run != nullptr && launchers_.Provides(row.needs);
}

bool MainCommands::IsMenuEnabled(const CommandRow& row) const {
    return IsAvailable(row) && (row.menuState == nullptr || row.menuState(context_.SelectedNodes()));
}

bool MainCommands::IsEnabled(int commandId) const {
    const CommandRow* row = FindCommandRow(commandId);
    return row != nullptr && IsMenuEnabled(*row);
}

bool MainCommands::AnyMenuOpen() const {
    // Each QPointer is read once: a second read after the check could find
    // the menu gone.
    return std::any_of(menus_.begin(), menus_.end(), [](const QPointer<QMenu>& pointer) {
        const QMenu* menu = pointer.data();
        return menu != nullptr && menu->isVisible();
    });
}

void MainCommands::OnSelectionChanged() {
    // An open menu keeps its items' states; the menu's closing sets these.
    if (AnyMenuOpen())
        return;
    const InventoryNode* caret = context_.CaretNode();
    const std::vector<InventoryNode*> selection = context_.SelectedNodes();
    for (const CommandRow& row : CommandRows()) {
        const bool enabled = IsAvailable(row) && (row.buttonState == nullptr || row.buttonState(caret, selection));
        Action(row.id)->setEnabled(enabled);
    }
}

void MainCommands::Execute(int commandId) {
    const CommandRow* row = FindCommandRow(commandId);
    if (row != nullptr && row->run != nullptr)
        row->run(handlers_);
}

void MainCommands::ExecuteIfEnabled(int commandId) {
    if (IsEnabled(commandId))
        Execute(commandId);
}

}  // namespace vn
