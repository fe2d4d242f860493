#pragma once

#include <map>
#include <vector>

#include "app/context/MainWindowContext.h"
#include "catalogue/ProductCatalogue.h"
#include "detect/ComputerScanWorker.h"
#include "detect/RecordingSinks.h"
#include "inventory/InventoryModel.h"
#include "support/FakePlatform.h"

namespace vn::test {

// A main window for the commands and the details views: a real model and
// computer scan worker on the fake platform, a selection the test sets, and
// a record of everything asked of the window.
class FakeMainWindowContext final : public MainWindowContext {
public:
    FakeMainWindowContext();
    ~FakeMainWindowContext() override;

    // The selection in tree order; the caret is the last node given, or the
    // one named.
    void Select(std::vector<InventoryNode*> nodes);
    void SetCaret(InventoryNode* node) { caret_ = node; }

    FakePlatform platform;
    InventoryModel model;
    ProductCatalogue catalogue;
    RecordingStatusSink statusSink;
    RecordingTreeSink treeSink;
    ComputerScanWorker computerScan{platform};
    AppSettings settings;

    // Scans reported as running besides the real computer scan worker.
    std::map<ScanWorkerKind, bool> running;

    std::vector<int> shownDetails;
    std::vector<int> sentCommands;
    std::vector<bool> splitterLocks;
    int focusCount = 0;
    int clearSelectionCount = 0;
    int repaintCount = 0;
    int closeRequests = 0;
    int settingsDialogs = 0;
    int credentialsDialogs = 0;
    bool toolBarVisible = true;
    bool statusBarVisible = true;

    InventoryModel& Model() override { return model; }
    std::vector<InventoryNode*> SelectedNodes() const override;
    InventoryNode* CaretNode() const override { return caret_; }
    FolderNode* SelectedFolder() const override;
    void ClearSelection() override;
    void SelectNode(InventoryNode* node) override { Select({node}); }
    void ClearCaret() override { caret_ = nullptr; }
    void FocusTree() override { ++focusCount; }
    void RepaintTree() override { ++repaintCount; }

    ComputerScanWorker& ComputerScan() override { return computerScan; }
    SubnetScanWorker& SubnetScan() override;
    NetworkScanWorker& NetworkScan() override;
    void PostStopScans() override {}
    bool IsScanRunning(ScanWorkerKind kind) const override;

    StatusSink& WorkerStatusSink() override { return statusSink; }
    TreeSink& WorkerTreeSink() override { return treeSink; }
    ProductCatalogue& Catalogue() override { return catalogue; }
    Platform& GetPlatform() override { return platform; }
    AppSettings& Settings() override { return settings; }

    void ShowDetailsView(int key) override { shownDetails.push_back(key); }
    void SendCommand(int commandId) override { sentCommands.push_back(commandId); }
    void ShowSettingsDialog() override { ++settingsDialogs; }
    void ShowNetworkCredentialsDialog() override { ++credentialsDialogs; }
    void SetSplitterLock(bool locked) override { splitterLocks.push_back(locked); }

    bool IsToolBarVisible() const override { return toolBarVisible; }
    void SetToolBarVisible(bool visible) override { toolBarVisible = visible; }
    bool IsStatusBarVisible() const override { return statusBarVisible; }
    void SetStatusBarVisible(bool visible) override { statusBarVisible = visible; }

    QWidget* DialogParent() override { return nullptr; }
    void RequestClose() override { ++closeRequests; }

    // Waits for the computer scan to end; the (name, parent) of every node it
    // handed to the tree, in order.
    std::vector<std::pair<std::string, FolderNode*>> ScannedEntries();

private:
    std::vector<InventoryNode*> selection_;
    InventoryNode* caret_ = nullptr;
};

}  // namespace vn::test
