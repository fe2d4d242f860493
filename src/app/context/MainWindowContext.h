#pragma once

#include <vector>

#include "app/context/AppSettings.h"

class QWidget;

namespace vn {

class ComputerScanWorker;
class InventoryModel;
class NetworkScanWorker;
class Platform;
class ProductCatalogue;
class StatusSink;
class SubnetScanWorker;
class TreeSink;
struct FolderNode;
struct InventoryNode;

// The three scan workers, in the order ScanInProgress asks them.
enum class ScanWorkerKind { Computer, Subnet, Network };

// What the commands, the side panels and the details views reach of the main
// window. Everything here is called on the user-interface thread, except the
// two sinks, which workers use from their own threads.
//
// The main window builds, besides this interface, the two classes that live
// in app/commands and app/details:
//
//   MainCommands(MainWindowContext&, QObject* parent)      app/commands/MainCommands.h
//     QAction* Action(int commandId)     the one action of a command (vn::cmd),
//                                        shared by the menus and the toolbar form
//     void BuildMenuBar(QMainWindow&)    menu 128 with the status-bar prompts
//     QMenu* ContextMenu(int menuId)     menus 174..178 (vn::menu), owned by MainCommands
//     QWidget* CreateToolBarForm(QWidget* parent)   CMainToolBar
//     QWidget* CreatePolicyPanel(QWidget* parent)   CMainPolicyView
//     QWidget* CreateInstallPanel(QWidget* parent)  CMainInstallView
//     void Execute(int commandId)        runs a command (vn::cmd)
//     bool IsEnabled(int commandId)      the menu state of a command
//     void OnSelectionChanged()          the toolbar states for the caret
//
//   DetailsPane(MainWindowContext&, QWidget* parent)       app/details/DetailsPane.h
//     a QStackedWidget holding the six views under the keys vn::details
//     void ShowView(int key)             makes that view the visible one
//     void ShowNode(const InventoryNode*)  gives the node to the view of its
//                                        kind (folder 33, computer with an
//                                        error 34, other computer 31); null
//                                        is ignored; the visible view is left
class MainWindowContext {
public:
    virtual ~MainWindowContext() = default;

    // The inventory tree and the tree view's selection.
    virtual InventoryModel& Model() = 0;
    // The marked nodes in tree order (depth first, parents before children).
    virtual std::vector<InventoryNode*> SelectedNodes() const = 0;
    // The node of the tree's caret item; null when there is none.
    virtual InventoryNode* CaretNode() const = 0;
    // The caret node when it is a folder, else null (new items go to the top level).
    virtual FolderNode* SelectedFolder() const = 0;
    // Clears every mark and the selection list (the caret stays).
    virtual void ClearSelection() = 0;
    // Marks the node alone and makes it the caret.
    virtual void SelectNode(InventoryNode* node) = 0;
    // Leaves the tree without a caret: the details and the toolbar then
    // show that nothing is selected.
    virtual void ClearCaret() = 0;
    // Gives the keyboard focus to the tree.
    virtual void FocusTree() = 0;
    // Repaints the tree (after the deployment wizard).
    virtual void RepaintTree() = 0;

    // The three scan workers; a scan runs while one of them IsRunning.
    virtual ComputerScanWorker& ComputerScan() = 0;
    virtual SubnetScanWorker& SubnetScan() = 0;
    virtual NetworkScanWorker& NetworkScan() = 0;
    // Signals the stop events of the subnet, network and computer scan
    // workers, in this order, without waiting (UM_STOP_SCANS).
    virtual void PostStopScans() = 0;
    // IsRunning of that worker (usable before the worker classes are complete).
    virtual bool IsScanRunning(ScanWorkerKind kind) const = 0;

    // The sinks through which workers report progress and hand results to
    // the tree; callable from any thread, carried out on the UI thread.
    virtual StatusSink& WorkerStatusSink() = 0;
    virtual TreeSink& WorkerTreeSink() = 0;

    virtual ProductCatalogue& Catalogue() = 0;
    virtual Platform& GetPlatform() = 0;

    // The settings record, read and changed in place; written at shutdown.
    virtual AppSettings& Settings() = 0;

    // Makes the details view with that key (vn::details) the visible one.
    virtual void ShowDetailsView(int key) = 0;
    // Runs the command as if a control had sent it to the main window
    // (details-view buttons and links).
    virtual void SendCommand(int commandId) = 0;
    // Shows the settings dialog modally; on OK the record is updated and the
    // splitter lock follows it.
    virtual void ShowSettingsDialog() = 0;
    // Shows the network credentials dialog modally; the credentials notice
    // follows what it changed.
    virtual void ShowNetworkCredentialsDialog() = 0;
    // Locks or unlocks the bars of the right-hand splitter.
    virtual void SetSplitterLock(bool locked) = 0;

    // The control bar "Main Toolbar" and the status bar (View menu).
    virtual bool IsToolBarVisible() const = 0;
    virtual void SetToolBarVisible(bool visible) = 0;
    virtual bool IsStatusBarVisible() const = 0;
    virtual void SetStatusBarVisible(bool visible) = 0;

    // The main window: the parent of every dialog and message box.
    virtual QWidget* DialogParent() = 0;
    // The shutdown of a close request (File > Exit); a second one is ignored.
    virtual void RequestClose() = 0;
};

}  // namespace vn
