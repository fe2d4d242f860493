#include "app/CMainTreeView.h"

#include "app/CColumnTreeCtrl.h"
#include "app/TreeStatusSink.h"
#include "discovery/ui/CTreeStatus.h"
#include "inventory/InventoryModel.h"

namespace vn {

CMainTreeView::CMainTreeView(InventoryModel& model, QWidget* parent)
    : QWidget(parent),
      tree_(new CColumnTreeCtrl(model, this)),
      panel_(new CTreeStatus(this)),
      status_(std::make_unique<TreeStatusSink>(*panel_, [this] { LayOutChildren(); })),
      workerStatus_(BlockingCallDispatcher(this), *status_),
      workerTree_(
          BlockingCallDispatcher(this),
          [&model](FolderNode* folder, std::unique_ptr<InventoryNode> node) {
              return model.InsertNode(folder, std::move(node), true);
          },
          [&model](const InventoryNode* node) { return model.Contains(node); }) {
    setObjectName(QStringLiteral("CMainTreeView"));
    setFocusProxy(tree_);
    tree_->setFrameShape(QFrame::NoFrame);  // the pane's border is the splitter's
    panel_->setEnabled(false);
    panel_->hide();
    connect(panel_, &CTreeStatus::stopScansRequested, this, &CMainTreeView::stopScansRequested);
    LayOutChildren();
}

CMainTreeView::~CMainTreeView() = default;

StatusSink& CMainTreeView::Status() const { return *status_; }

void CMainTreeView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOutChildren();
}

void CMainTreeView::LayOutChildren() {
    const int w = width();
    const int h = height();
    if (status_ && status_->IsShown()) {
        tree_->setGeometry(0, 0, w, std::max(0, h - kStatusPanelHeight));
        panel_->setGeometry(0, h - kStatusPanelHeight, w, kStatusPanelHeight);
    } else {
        tree_->setGeometry(0, 0, w, h);
        panel_->setGeometry(0, h, 0, 0);
    }
}

}  // namespace vn
