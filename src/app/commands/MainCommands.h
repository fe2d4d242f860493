#pragma once

#include <QObject>
#include <QPointer>
#include <map>
#include <vector>

#include "app/commands/ActionCommands.h"
#include "app/commands/CommandHandlers.h"
#include "app/commands/FileChooser.h"
#include "app/commands/HelpCommands.h"
#include "app/commands/ScanCommands.h"
#include "app/commands/SubsystemLaunchers.h"
#include "app/commands/TreeCommands.h"

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace vn {

class CMainInstallView;
class CMainPolicyView;
class MainWindowContext;
struct CommandRow;
struct MenuLayout;

// Every command of the main window, whichever control sends it: the menu
// bar, the tree's context menus, the toolbar form, the side panels and the
// details views' buttons. Each row of the command table becomes one QAction
// that the menus and the toolbar form share; this class builds those menus
// and controls, runs the commands and keeps their enabled states.
//
// An action's state outside menus is its toolbar button's (set at every
// caret change); while one of the menus is open, the items of that menu
// have their menu state and text, and the button states come back once the
// menu has closed and its command has run.
class MainCommands final : public QObject {
    Q_OBJECT
public:
    // The actions and context menus belong to the context's window, so
    // that every item's prompt reaches its status bar.
    explicit MainCommands(MainWindowContext& context, QObject* parent = nullptr);
    ~MainCommands() override;

    // Switches subsystems on: see SubsystemLaunchers.
    void SetLaunchers(SubsystemLaunchers launchers);
    const SubsystemLaunchers& Launchers() const { return launchers_; }

    // The action of a command (its object name is the table's); null for an
    // id that is not a command.
    QAction* Action(int commandId) const;

    // Menu 128 as the window's menu bar.
    void BuildMenuBar(QMainWindow& window);
    // Context menu 174 to 178 (vn::menu); null for another number.
    QMenu* ContextMenu(int menuId) const;

    QWidget* CreateToolBarForm(QWidget* parent);
    QWidget* CreatePolicyPanel(QWidget* parent);
    QWidget* CreateInstallPanel(QWidget* parent);

    // Runs a command as a control that sends its id does, whatever its state.
    void Execute(int commandId);
    // Runs a command as choosing its menu item would: only in its menu state
    // (the keys that stand for menu items).
    void ExecuteIfEnabled(int commandId);
    // The state of a command's menu item for the current selection.
    bool IsEnabled(int commandId) const;
    // Sets the actions' states outside menus (the toolbar buttons) for the
    // tree's caret; the tree view calls it on every caret change.
    void OnSelectionChanged();

    HelpCommands& Help() { return help_; }

    // Replaces the file dialogs (null restores them); the chooser must
    // outlive its use.
    void SetFileChooser(FileChooser* chooser) { files_ = chooser != nullptr ? chooser : &fileDialogs_; }

private:
    void CreateActions();
    QMenu* BuildMenu(const MenuLayout& layout, QWidget* parent);
    void PrepareMenu(const MenuLayout& layout);
    bool AnyMenuOpen() const;
    bool IsAvailable(const CommandRow& row) const;
    bool IsMenuEnabled(const CommandRow& row) const;
    void UpdatePanels();

    MainWindowContext& context_;
    SubsystemLaunchers launchers_;
    QtFileChooser fileDialogs_;
    FileChooser* files_ = &fileDialogs_;
    ScanCommands scans_;
    TreeCommands tree_;
    ActionCommands actions_;
    HelpCommands help_;
    CommandHandlers handlers_;
    std::map<int, QPointer<QAction>> commandActions_;
    std::vector<QPointer<QMenu>> menus_;
    std::map<int, QMenu*> contextMenus_;
    QPointer<CMainPolicyView> policyPanel_;
    QPointer<CMainInstallView> installPanel_;
};

}  // namespace vn
