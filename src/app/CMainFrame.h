#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "app/SettingsStore.h"
#include "app/context/MainWindowContext.h"
#include "credentials/AdministratorViewCheck.h"

class QToolBar;

namespace vn {

class CMainTreeView;
class ComputerScanWorker;
class DispatchedStopQuestion;
class DetailsPane;
class InventoryModel;
class LockableSplitter;
class MainCommands;
class NetworkScanWorker;
class NewVersionCheck;
class NetworkIdentity;
class NewVersionDialogService;
class ShutdownWorker;
class SubnetScanWorker;

struct MainFrameOptions {
    // Read the catalogue file beside the program into the catalogue.
    bool LoadCatalogue = true;
    // Ask the maker's web service for a newer version; null: no check.
    NewVersionDialogService* NewVersionDialogs = nullptr;
    // The identity towards other computers and the dialog's test; null: no
    // credentials dialog and no notice.
    NetworkIdentity* Identity = nullptr;
    AdministratorViewTest TestCredentials;
};

// The main window: the tree on the left; the details pane, the policy panel
// and the install panel on the right; the toolbar and the status bar; the
// settings record; the scan workers and the orderly shutdown that stops them
// before the settings and the inventory are written.
class CMainFrame final : public QMainWindow, public MainWindowContext {
    Q_OBJECT
public:
    static constexpr int kWindowWidth = 864;
    static constexpr int kWindowHeight = 641;
    // The details pane keeps at least its title strip in view.
    static constexpr int kDetailsMinimumHeight = 80;

    CMainFrame(Platform& platform, ProductCatalogue& catalogue, MainFrameOptions options = {});
    ~CMainFrame() override;

    // The welcome screen when the settings ask for it.
    void RunWelcomeScreen();

    enum class State { Running, Closing, Closed };
    State CurrentState() const { return state_; }

    CMainTreeView& TreeView() const { return *treeView_; }
    MainCommands& Commands() const { return *commands_; }
    DetailsPane& Details() const { return *details_; }
    LockableSplitter& LeftSplitter() const { return *left_; }
    LockableSplitter& RightSplitter() const { return *right_; }
    QToolBar& ToolBar() const { return *toolBar_; }
    QWidget* ToolBarForm() const { return toolBarForm_; }

    // MainWindowContext
    InventoryModel& Model() override;
    std::vector<InventoryNode*> SelectedNodes() const override;
    InventoryNode* CaretNode() const override;
    FolderNode* SelectedFolder() const override;
    void ClearSelection() override;
    void SelectNode(InventoryNode* node) override;
    void ClearCaret() override;
    void FocusTree() override;
    void RepaintTree() override;
    ComputerScanWorker& ComputerScan() override;
    SubnetScanWorker& SubnetScan() override;
    NetworkScanWorker& NetworkScan() override;
    void PostStopScans() override;
    bool IsScanRunning(ScanWorkerKind kind) const override;
    StatusSink& WorkerStatusSink() override;
    TreeSink& WorkerTreeSink() override;
    ProductCatalogue& Catalogue() override { return catalogue_; }
    Platform& GetPlatform() override { return platform_; }
    AppSettings& Settings() override { return settings_; }
    void ShowDetailsView(int key) override;
    void SendCommand(int commandId) override;
    void ShowSettingsDialog() override;
    void ShowNetworkCredentialsDialog() override;
    void SetSplitterLock(bool locked) override;
    bool IsToolBarVisible() const override;
    void SetToolBarVisible(bool visible) override;
    bool IsStatusBarVisible() const override;
    void SetStatusBarVisible(bool visible) override;
    QWidget* DialogParent() override { return this; }
    void RequestClose() override;

signals:
    // The shutdown worker has begun stopping the scans.
    void shutdownStarted();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateToolBar();
    void CreateCredentialsNotice();
    // Shown while other computers would see an anonymous caller.
    void UpdateCredentialsNotice();
    void CreateClientArea();
    void RestoreWorkspace();
    void ApplyPaneSizes();
    void FitPanelsToContent();
    void FitOuterSize();
    void KeepOnScreen();
    [[nodiscard]] Status SaveWorkspace();
    // Writes the settings, the tree and the workspace; false when something
    // failed and the user chose to keep the window open.
    bool SaveAtExit();
    void StartShutdown();
    void OnShutdownReady();
    void OnCaretChanged(InventoryNode* node);
    void ShowDetailsFor(InventoryNode* node);
    void OnNodeRefreshed(const InventoryNode* node);
    // Rows went in or out below parentOfChange (null: the top level).
    void OnTreeChanged(const InventoryNode* parentOfChange);
    // Whether node lies somewhere inside folder.
    bool IsBelow(const InventoryNode* node, const InventoryNode* folder) const;
    void PopContextMenu(int menuId, const QPoint& globalPosition);
    bool AnyScanRunning() const;
    // Turns on Scan Network and Scan Subnet: their dialogs and workers.
    void EnableDiscoveryCommands();

    Platform& platform_;
    ProductCatalogue& catalogue_;
    MainFrameOptions options_;
    QToolBar* credentialsNotice_ = nullptr;
    SettingsStore store_;
    AppSettings settings_;
    PaneSizes panes_;
    bool panesApplied_ = false;
    // The size of the outer rectangle to reach once the window's frame is
    // known; empty when reached.
    QSize pendingOuterSize_;
    State state_ = State::Running;
    // The saved tree's stamp when the window loaded it.
    std::string loadedInventoryStamp_;

    std::unique_ptr<InventoryModel> model_;
    std::unique_ptr<ComputerScanWorker> computerScan_;
    std::unique_ptr<SubnetScanWorker> subnetScan_;
    std::unique_ptr<NetworkScanWorker> networkScan_;
    std::unique_ptr<ShutdownWorker> shutdown_;
    std::unique_ptr<NewVersionCheck> newVersionCheck_;
    // The network and subnet scans ask their stop questions through it, on
    // this window's thread.
    std::unique_ptr<DispatchedStopQuestion> scanQuestions_;

    MainCommands* commands_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QWidget* toolBarForm_ = nullptr;
    LockableSplitter* left_ = nullptr;
    LockableSplitter* right_ = nullptr;
    CMainTreeView* treeView_ = nullptr;
    DetailsPane* details_ = nullptr;
};

}  // namespace vn
