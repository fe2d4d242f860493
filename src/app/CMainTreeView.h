#pragma once

#include <QWidget>
#include <memory>

#include "core/DispatchedStatusSink.h"
#include "detect/DispatchedTreeSink.h"

namespace vn {

class CColumnTreeCtrl;
class CTreeStatus;
class InventoryModel;
class TreeStatusSink;

// The left pane of the main window: the inventory tree with its header, and
// below it, while a scan runs, the progress panel. It is the StatusSink and
// TreeSink of the workers: their calls are carried out on the user-interface
// thread while the worker waits.
class CMainTreeView : public QWidget {
    Q_OBJECT
public:
    // Height of the strip the progress panel takes at the bottom while shown.
    static constexpr int kStatusPanelHeight = 70;

    explicit CMainTreeView(InventoryModel& model, QWidget* parent = nullptr);
    ~CMainTreeView() override;

    CColumnTreeCtrl& Tree() const { return *tree_; }
    CTreeStatus& StatusPanel() const { return *panel_; }
    // The sink of the user-interface thread itself.
    StatusSink& Status() const;
    // The sinks for workers, usable from any thread.
    StatusSink& WorkerStatusSink() { return workerStatus_; }
    TreeSink& WorkerTreeSink() { return workerTree_; }

signals:
    // The progress panel's Cancel: every scan is to stop.
    void stopScansRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOutChildren();

    CColumnTreeCtrl* tree_;
    CTreeStatus* panel_;
    std::unique_ptr<TreeStatusSink> status_;
    DispatchedStatusSink workerStatus_;
    DispatchedTreeSink workerTree_;
};

}  // namespace vn
