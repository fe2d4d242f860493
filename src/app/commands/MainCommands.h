#pragma once

#include <QObject>
#include <QPointer>
#include <map>
#include <memory>

#include "app/commands/ActionCommands.h"
#include "app/commands/FileChooser.h"
#include "app/commands/HelpCommands.h"
#include "app/commands/ScanCommands.h"
#include "app/commands/SubsystemLaunchers.h"
#include "app/commands/TreeCommands.h"

class QMainWindow;
class QMenu;
class QWidget;

namespace vn {

class CMainInstallView;
class CMainPolicyView;
class MainWindowContext;
struct MenuText;

// Every command of the main window, whichever control sends it: the menu
// bar, the tree's context menus, the toolbar form, the side panels and the
// details views' buttons. Builds those menus and controls, runs the commands
// and keeps their enabled states.
class MainCommands final : public QObject {
    Q_OBJECT
public:
    MainCommands(MainWindowContext& context, QObject* parent = nullptr);
    ~MainCommands() override;

    // Switches subsystems on: see SubsystemLaunchers.
    void SetLaunchers(SubsystemLaunchers launchers);
    const SubsystemLaunchers& Launchers() const { return launchers_; }

    // Menu 128 as the window's menu bar, with the commands' prompts as
    // status tips.
    void BuildMenuBar(QMainWindow& window);
    // Context menu 174 to 178 (vn::menu); null for another number.
    QMenu* ContextMenu(int menuId) const;

    QWidget* CreateToolBarForm(QWidget* parent);
    QWidget* CreatePolicyPanel(QWidget* parent);
    QWidget* CreateInstallPanel(QWidget* parent);

    void Execute(int commandId);
    // The state of a command's menu item for the current selection.
    bool IsEnabled(int commandId) const;
    // Sets the toolbar's Rescan, Install and Disable/Enable Services buttons
    // for the tree's caret; the tree view calls it on every caret change.
    void OnSelectionChanged();

    HelpCommands& Help() { return help_; }

    // Replaces the file dialogs (null restores them); the chooser must
    // outlive its use.
    void SetFileChooser(FileChooser* chooser) { files_ = chooser != nullptr ? chooser : &fileDialogs_; }

private:
    QMenu* BuildMenu(const MenuText& text, QWidget* parent);
    void UpdateMenu(QMenu& menu) const;
    bool IsAvailable(int commandId) const;
    void UpdatePanels();
    void ShowSettings();

    MainWindowContext& context_;
    SubsystemLaunchers launchers_;
    QtFileChooser fileDialogs_;
    FileChooser* files_ = &fileDialogs_;
    ScanCommands scans_;
    TreeCommands tree_;
    ActionCommands actions_;
    HelpCommands help_;
    std::map<int, std::unique_ptr<QMenu>> contextMenus_;
    QPointer<CMainPolicyView> policyPanel_;
    QPointer<CMainInstallView> installPanel_;
};

}  // namespace vn
