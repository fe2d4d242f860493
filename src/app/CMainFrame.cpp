#include "app/CMainFrame.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <thread>

#include "app/CColumnTreeCtrl.h"
#include "app/CMainTreeView.h"
#include "app/CSettingsDlg.h"
#include "app/CWelcomeDlg.h"
#include "app/CommandIds.h"
#include "app/ShutdownWorker.h"
#include "app/UnsavedAtExit.h"
#include "app/commands/MainCommands.h"
#include "app/details/DetailsPane.h"
#include "detect/ComputerScanWorker.h"
#include "detect/ProductCatalogue.h"
#include "discovery/NetworkScanWorker.h"
#include "discovery/SubnetScanWorker.h"
#include "inventory/InventoryModel.h"
#include "inventory/InventoryPersistence.h"
#include "ui/LockableSplitter.h"
#include "ui/PictureIds.h"
#include "ui/ResourceIcon.h"
#include "update/NewVersionCheck.h"


namespace vn {
namespace {

// A pane smaller than its form scrolls instead of holding the splitter bars
// (and the window) at the form's size.
QScrollArea* ScrollingPane(QWidget* form) {
    auto* pane = new QScrollArea;
    pane->setFrameShape(QFrame::NoFrame);
    pane->setWidgetResizable(true);
    pane->setWidget(form);
    return pane;
}

QIcon WindowIcon() {
    // Every system this runs on is past the versions that needed the
    // classic picture; it stays the fallback when the main one is missing.
    QIcon icon = ResourceIcon(picture::kMainIcon);
    return icon.isNull() ? ResourceIcon(picture::kMainIconClassic) : icon;
}

}  // namespace

CMainFrame::CMainFrame(Platform& platform, ProductCatalogue& catalogue, MainFrameOptions options)
    : platform_(platform),
      catalogue_(catalogue),
      options_(options),
      store_(platform.registry()),
      model_(std::make_unique<InventoryModel>()),
      computerScan_(std::make_unique<ComputerScanWorker>(platform)),
      subnetScan_(std::make_unique<SubnetScanWorker>()),
      networkScan_(std::make_unique<NetworkScanWorker>()),
      shutdown_(std::make_unique<ShutdownWorker>(
          std::vector<WorkerThread*>{computerScan_.get(), subnetScan_.get(), networkScan_.get()},
          // Runs on the shutdown thread: only a posted call crosses over.
          [this] { QMetaObject::invokeMethod(this, &CMainFrame::OnShutdownReady, Qt::QueuedConnection); })) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("Vantor Netwarden"));
    setWindowIcon(WindowIcon());
    statusBar();

    if (options_.NewVersionDialogs != nullptr)
        newVersionCheck_ = StartNewVersionCheck(platform_.https(), platform_.registry(), *options_.NewVersionDialogs);

    commands_ = new MainCommands(*this, this);
    commands_->BuildMenuBar(*this);
    CreateToolBar();
    CreateClientArea();
}

CMainFrame::~CMainFrame() {
    // A window destroyed without the shutdown (it normally runs first) still
    // lets its scans end: they need this thread until then.
    PostStopScans();
    while (AnyScanRunning()) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // The views and the commands refer to the model and the workers: they
    // go first.
    delete commands_;
    delete takeCentralWidget();
    newVersionCheck_.reset();
    shutdown_.reset();
    computerScan_->Stop();
    subnetScan_->Stop();
    networkScan_->Stop();
}

void CMainFrame::CreateToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("Main Toolbar"), this);
    toolBar_->setObjectName(QStringLiteral("MainToolbar"));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->resize(200, 30);
    toolBarForm_ = commands_->CreateToolBarForm(toolBar_);
    // The form is made far wider than its buttons; only the buttons may set
    // how narrow the window can get.
    toolBarForm_->setFixedWidth(toolBarForm_->childrenRect().right() + 1);
    toolBar_->addWidget(toolBarForm_);
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::CreateClientArea() {
    if (options_.LoadCatalogue)
        catalogue_.Load();

    left_ = new LockableSplitter(Qt::Horizontal, this);
    left_->setObjectName(QStringLiteral("LeftSplitter"));
    left_->setChildrenCollapsible(false);
    treeView_ = new CMainTreeView(*model_, left_);
    right_ = new LockableSplitter(Qt::Vertical, left_);
    right_->setObjectName(QStringLiteral("RightSplitter"));
    right_->setChildrenCollapsible(false);
    details_ = new DetailsPane(*this);
    right_->addWidget(ScrollingPane(details_));
    right_->addWidget(ScrollingPane(commands_->CreatePolicyPanel(nullptr)));
    right_->addWidget(ScrollingPane(commands_->CreateInstallPanel(nullptr)));
    left_->addWidget(treeView_);
    left_->addWidget(right_);
    // Window size changes go to the right-hand column and its lowest pane.
    left_->setStretchFactor(0, 0);
    left_->setStretchFactor(1, 1);
    right_->setStretchFactor(0, 0);
    right_->setStretchFactor(1, 0);
    right_->setStretchFactor(2, 1);
    setCentralWidget(left_);
    details_->ShowView(details::kBlank);

    CColumnTreeCtrl& tree = treeView_->Tree();
    connect(&tree, &CColumnTreeCtrl::caretChanged, this, &CMainFrame::OnCaretChanged);
    connect(&tree, &CColumnTreeCtrl::contextMenuWanted, this, &CMainFrame::PopContextMenu);
    connect(&tree, &CColumnTreeCtrl::deletePressed, this, [this] { commands_->ExecuteIfEnabled(cmd::kRemove); });
    connect(model_.get(), &InventoryModel::nodeRefreshed, this,
            [this](const QModelIndex& index) { OnNodeRefreshed(InventoryModel::NodeAt(index)); });
    connect(treeView_, &CMainTreeView::stopScansRequested, this, &CMainFrame::PostStopScans);
    // The caret leaves a removed item before the row is gone; the view for
    // no caret depends on whether anything is left.
    connect(model_.get(), &QAbstractItemModel::rowsRemoved, this, [this] {
        if (CaretNode() == nullptr)
            OnCaretChanged(nullptr);
    });

    RestoreWorkspace();
    store_.ReadSettings(settings_);
    LoadInventory(*model_, platform_.registry(), catalogue_);
    SetSplitterLock(settings_.LockHorizontalSplitter != 0);
    if (model_->rowCount() == 0)
        ShowDetailsView(details::kBlank);
    commands_->OnSelectionChanged();
}

void CMainFrame::RestoreWorkspace() {
    QSize outer(kWindowWidth, kWindowHeight);
    const WorkspaceRestore restore = store_.ReadWorkspace();
    if (restore.Window) {
        move(restore.Window->X, restore.Window->Y);  // the frame's corner
        outer = QSize(restore.Window->Width, restore.Window->Height);
    }
    // The sizes stored are of the outer rectangle; Qt sizes the inside.
    resize(outer);
    pendingOuterSize_ = outer;
    panes_ = restore.Panes;
}

void CMainFrame::FitOuterSize() {
    if (pendingOuterSize_.isEmpty())
        return;
    const QSize frame = frameGeometry().size() - size();
    // The window manager may tell the frame's size only after the window is
    // shown; until then there is nothing to take off.
    if (frame.isNull())
        return;
    resize(pendingOuterSize_ - frame);
    pendingOuterSize_ = QSize();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitOuterSize();
    if (!panesApplied_) {
        panesApplied_ = true;
        ApplyPaneSizes();
    }
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    FitOuterSize();
}

void CMainFrame::ApplyPaneSizes() {
    // The last pane of each splitter takes what the others leave.
    const int bars = left_->handleWidth();
    left_->setSizes({panes_.First, std::max(0, left_->width() - panes_.First - bars)});
    const int lowest = std::max(0, right_->height() - panes_.Second - panes_.Third - 2 * bars);
    right_->setSizes({panes_.Second, panes_.Third, lowest});
}

Status CMainFrame::SaveWorkspace() {
    if (isMaximized() || isMinimized())
        return ERROR_SUCCESS;
    const QRect outer = frameGeometry();
    const QList<int> columns = left_->sizes();
    const QList<int> rows = right_->sizes();
    PaneSizes panes;
    panes.First = columns.value(0);
    panes.Second = rows.value(0);
    panes.Third = rows.value(1);
    panes.Fourth = rows.value(2);
    return store_.SaveWorkspace({outer.x(), outer.y(), outer.width(), outer.height()}, panes);
}

void CMainFrame::RunWelcomeScreen() {
    if (settings_.WelcomeScreen == 0)
        return;
    CWelcomeDlg welcome(true, [this](int commandId) { SendCommand(commandId); }, this);
    if (welcome.exec() == QDialog::Accepted)
        settings_.WelcomeScreen = welcome.ShowAtStartup() ? 1 : 0;
}

// --- shutdown -------------------------------------------------------------

void CMainFrame::RequestClose() {
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (state_ == State::Closed) {
        event->accept();
        return;
    }
    // The window stays up and usable until the scans have stopped; a second
    // request meanwhile changes nothing.
    event->ignore();
    if (state_ == State::Running) {
        state_ = State::Closing;
        StartShutdown();
    }
}

void CMainFrame::StartShutdown() {
    // The worker has posted its message and is at most returning from its
    // thread body: this wait is short and needs nothing of this thread.
    shutdown_->Wait();
    shutdown_->Start();
    emit shutdownStarted();
}

void CMainFrame::OnShutdownReady() {
    // A scan started while the earlier ones were being stopped is stopped
    // and waited for as well before anything is written.
    if (AnyScanRunning()) {
        StartShutdown();
        return;
    }
    if (!SaveAtExit()) {
        // Kept open at the user's word: a later close tries again.
        state_ = State::Running;
        return;
    }
    state_ = State::Closed;
    close();
}

bool CMainFrame::SaveAtExit() {
    UnsavedAtExit unsaved;
    const Status settingsStatus = store_.WriteSettings(settings_);
    if (settingsStatus != ERROR_SUCCESS)
        unsaved.Note("the settings", settingsStatus);
    // The stored flag decides, as the next start reads it; when it could not
    // be written, the user's choice does.
    const bool saveTree =
        settingsStatus == ERROR_SUCCESS ? store_.IsWorkspaceSaved() : settings_.SaveWorkspaceInfo == 1;
    if (saveTree && !SaveInventory(*model_, platform_.registry()))
        unsaved.Note("the computer tree", ERROR_SUCCESS);
    // While the window is still shown at the size the user left it.
    if (const Status status = SaveWorkspace(); status != ERROR_SUCCESS)
        unsaved.Note("the window layout", status);
    return unsaved.ConfirmClose();
}

bool CMainFrame::AnyScanRunning() const {
    return computerScan_->IsRunning() || subnetScan_->IsRunning() || networkScan_->IsRunning();
}

void CMainFrame::PostStopScans() {
    subnetScan_->GetStopEvent().Set();
    networkScan_->GetStopEvent().Set();
    computerScan_->GetStopEvent().Set();
}

// --- selection and details ------------------------------------------------

void CMainFrame::OnCaretChanged(InventoryNode* node) {
    ShowDetailsFor(node);
    commands_->OnSelectionChanged();
}

void CMainFrame::OnNodeRefreshed(const InventoryNode* node) {
    // A merge into the caret's node shows its new values; the toolbar stays.
    if (node != nullptr && node == CaretNode())
        ShowDetailsFor(CaretNode());
}

void CMainFrame::ShowDetailsFor(InventoryNode* node) {
    details_->ShowSelection(node);
}

void CMainFrame::PopContextMenu(int menuId, const QPoint& globalPosition) {
    if (QMenu* menu = commands_->ContextMenu(menuId))
        menu->exec(globalPosition);
    treeView_->Tree().viewport()->update();
}

// --- MainWindowContext ----------------------------------------------------

InventoryModel& CMainFrame::Model() {
    return *model_;
}

std::vector<InventoryNode*> CMainFrame::SelectedNodes() const {
    return treeView_->Tree().SelectedNodes();
}

InventoryNode* CMainFrame::CaretNode() const {
    return treeView_->Tree().CaretNode();
}

FolderNode* CMainFrame::SelectedFolder() const {
    return dynamic_cast<FolderNode*>(CaretNode());
}

void CMainFrame::ClearSelection() {
    treeView_->Tree().ClearMarks();
}

void CMainFrame::ClearCaret() {
    treeView_->Tree().selectionModel()->clearCurrentIndex();
}

void CMainFrame::FocusTree() {
    treeView_->Tree().setFocus(Qt::OtherFocusReason);
}

void CMainFrame::RepaintTree() {
    treeView_->Tree().viewport()->update();
}

ComputerScanWorker& CMainFrame::ComputerScan() {
    return *computerScan_;
}

SubnetScanWorker& CMainFrame::SubnetScan() {
    return *subnetScan_;
}

NetworkScanWorker& CMainFrame::NetworkScan() {
    return *networkScan_;
}

bool CMainFrame::IsScanRunning(ScanWorkerKind kind) const {
    switch (kind) {
    case ScanWorkerKind::Computer:
        return computerScan_->IsRunning();
    case ScanWorkerKind::Subnet:
        return subnetScan_->IsRunning();
    case ScanWorkerKind::Network:
        return networkScan_->IsRunning();
    }
    return false;
}

StatusSink& CMainFrame::WorkerStatusSink() {
    return treeView_->WorkerStatusSink();
}

TreeSink& CMainFrame::WorkerTreeSink() {
    return treeView_->WorkerTreeSink();
}

void CMainFrame::ShowDetailsView(int key) {
    details_->ShowView(key);
}

void CMainFrame::SendCommand(int commandId) {
    commands_->Execute(commandId);
}

void CMainFrame::ShowSettingsDialog() {
    CSettingsDlg dialog(settings_, this);
    if (dialog.exec() == QDialog::Accepted)
        SetSplitterLock(settings_.LockHorizontalSplitter != 0);
}

void CMainFrame::SetSplitterLock(bool locked) {
    right_->SetLocked(locked);
}

bool CMainFrame::IsToolBarVisible() const {
    return !toolBar_->isHidden();
}

void CMainFrame::SetToolBarVisible(bool visible) {
    toolBar_->setVisible(visible);
}

bool CMainFrame::IsStatusBarVisible() const {
    return !statusBar()->isHidden();
}

void CMainFrame::SetStatusBarVisible(bool visible) {
    statusBar()->setVisible(visible);
}

}  // namespace vn
