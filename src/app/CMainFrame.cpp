#include "app/CMainFrame.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <thread>
#include <utility>

#include "app/CColumnTreeCtrl.h"
#include "app/CMainTreeView.h"
#include "app/CSettingsDlg.h"
#include "app/CWelcomeDlg.h"
#include "app/InventoryExitSave.h"
#include "app/ShutdownWorker.h"
#include "app/UnsavedAtExit.h"
#include "app/commands/MainCommands.h"
#include "app/context/CommandIds.h"
#include "app/details/DetailsPane.h"
#include "app/dialogs/NetworkCredentialsDialog.h"
#include "catalogue/ProductCatalogue.h"
#include "credentials/NetworkIdentity.h"
#include "detect/ComputerScanWorker.h"
#include "discovery/DispatchedStopQuestion.h"
#include "discovery/NetworkScanWorker.h"
#include "discovery/SubnetScanWorker.h"
#include "discovery/ui/DiscoveryCommands.h"
#include "inventory/InventoryModel.h"
#include "inventory/InventoryPersistence.h"
#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"
#include "ui/LockableSplitter.h"
#include "ui/ScreenFit.h"
#include "update/NewVersionCheck.h"

namespace vn {
namespace {

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
      options_(std::move(options)),
      store_(platform.registry()),
      model_(std::make_unique<InventoryModel>()),
      computerScan_(std::make_unique<ComputerScanWorker>(platform)),
      subnetScan_(std::make_unique<SubnetScanWorker>(platform)),
      networkScan_(std::make_unique<NetworkScanWorker>(platform)),
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
    CreateCredentialsNotice();
    CreateClientArea();
    EnableDiscoveryCommands();
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

void CMainFrame::EnableDiscoveryCommands() {
    static MessageBoxStopQuestion askTheUser;  // no state of its own
    scanQuestions_ = std::make_unique<DispatchedStopQuestion>(BlockingCallDispatcher(this), askTheUser);
    const auto context = [this] {
        return DiscoveryCommandContext{
            this, platform_, *model_, catalogue_, WorkerStatusSink(), WorkerTreeSink(), *scanQuestions_, [this] {
                return SelectedFolder();
            }};
    };
    SubsystemLaunchers launchers = commands_->Launchers();
    launchers.ScanNetwork = [this, context] { RunNetworkScanCommand(context(), *networkScan_); };
    launchers.ScanSubnet = [this, context] { RunSubnetScanCommand(context(), *subnetScan_); };
    commands_->SetLaunchers(std::move(launchers));
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
    treeView_ = new CMainTreeView(*model_);
    left_->AddPane(treeView_);
    // The right column is the second splitter; its panes have borders of their own.
    right_ = new LockableSplitter(Qt::Vertical);
    right_->setObjectName(QStringLiteral("RightSplitter"));
    right_->setChildrenCollapsible(false);
    left_->addWidget(right_);
    details_ = new DetailsPane(*this);
    details_->setMinimumHeight(kDetailsMinimumHeight);
    right_->AddPane(details_);
    // The panels hold the height their content needs (their minimum) and
    // never scroll; the details views scroll on their own when they must.
    right_->AddPane(commands_->CreatePolicyPanel(nullptr));
    right_->AddPane(commands_->CreateInstallPanel(nullptr));
    // Window size changes go to the right-hand column and there to the
    // details pane, whose content varies; the panels' content does not.
    left_->setStretchFactor(0, 0);
    left_->setStretchFactor(1, 1);
    right_->setStretchFactor(0, 1);
    right_->setStretchFactor(1, 0);
    right_->setStretchFactor(2, 0);
    setCentralWidget(left_);
    details_->ShowView(details::kBlank);

    CColumnTreeCtrl& tree = treeView_->Tree();
    connect(&tree, &CColumnTreeCtrl::caretChanged, this, &CMainFrame::OnCaretChanged);
    connect(&tree, &CColumnTreeCtrl::contextMenuWanted, this, &CMainFrame::PopContextMenu);
    // The buttons of the commands that act on the selection follow the marks.
    connect(&tree, &CColumnTreeCtrl::marksChanged, commands_, &MainCommands::OnSelectionChanged);
    connect(&tree, &CColumnTreeCtrl::deletePressed, this, [this] { commands_->ExecuteIfEnabled(cmd::kRemove); });
    connect(model_.get(), &InventoryModel::nodeRefreshed, this,
            [this](const QModelIndex& index) { OnNodeRefreshed(InventoryModel::NodeAt(index)); });
    connect(treeView_, &CMainTreeView::stopScansRequested, this, &CMainFrame::PostStopScans);
    // A wider or narrower right column changes how many lines the panels' texts take.
    connect(left_, &QSplitter::splitterMoved, this, [this] {
        if (right_->IsLocked())
            FitPanelsToContent();
    });
    // The caret leaves a removed item before the row is gone; the view for
    // no caret depends on whether anything is left.
    connect(model_.get(), &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex& parent) {
        if (CaretNode() == nullptr)
            OnCaretChanged(nullptr);
        else
            OnTreeChanged(InventoryModel::NodeAt(parent));
    });
    connect(model_.get(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent) { OnTreeChanged(InventoryModel::NodeAt(parent)); });

    RestoreWorkspace();
    store_.ReadSettings(settings_);
    // Read before the tree: a save that comes in between is then noticed at exit.
    loadedInventoryStamp_ = ReadInventoryStamp(platform_.registry());
    LoadInventory(*model_, platform_.registry(), catalogue_);
    SetSplitterLock(settings_.LockHorizontalSplitter != 0);
    // No caret yet: the introduction for an empty tree, else the hint to select.
    ShowDetailsFor(nullptr);
    commands_->OnSelectionChanged();
}

void CMainFrame::RestoreWorkspace() {
    QSize outer(kWindowWidth, kWindowHeight);
    const WorkspaceRestore restore = store_.ReadWorkspace();
    if (restore.Window) {
        // Stored at another scale or screen size, the window could be larger
        // than the screen or lie partly off it, its title bar out of reach.
        const QRect stored(restore.Window->X, restore.Window->Y, restore.Window->Width, restore.Window->Height);
        const QRect area = AvailableAreaAt(stored.center());
        const QRect fitted = area.isEmpty() ? stored : FitIntoArea(stored, area);
        move(fitted.topLeft());  // the frame's corner
        outer = fitted.size();
    } else if (const QRect area = AvailableAreaAt(QPoint()); !area.isEmpty()) {
        outer = outer.boundedTo(area.size());
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
    KeepOnScreen();
}

void CMainFrame::KeepOnScreen() {
    if (pendingOuterSize_.isValid() || isMaximized() || isMinimized() || !isVisible())
        return;
    const QRect outer = frameGeometry();
    if (const QRect area = AvailableAreaAt(outer.center()); !area.isEmpty() && !area.contains(outer))
        move(FitIntoArea(outer, area).topLeft());
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
    left_->setSizes({panes_.First, std::max(0, left_->width() - panes_.First - left_->handleWidth())});
    // After the column width, which decides how many lines the panels'
    // texts take. The stored row heights are not used: kept, they would
    // leave the panels half empty and the details short.
    FitPanelsToContent();
}

void CMainFrame::FitPanelsToContent() {
    // The panels get what their content needs, the details pane, whose
    // content varies, the rest.
    const int policy = right_->widget(1)->minimumSizeHint().height();
    const int install = right_->widget(2)->minimumSizeHint().height();
    const int details =
        std::max(kDetailsMinimumHeight, right_->height() - policy - install - 2 * right_->handleWidth());
    right_->setSizes({details, policy, install});
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The content may ask for more than the stored size (texts wrapping in
    // a narrow column): what went past the screen's edge comes back onto it.
    KeepOnScreen();
    // Unlocked, the rows stay as the user dragged them (the panels never
    // below their content); locked, they follow the content.
    if (panesApplied_ && right_->IsLocked())
        FitPanelsToContent();
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
    CWelcomeDlg welcome(
        true, [this](int commandId) { SendCommand(commandId); }, this);
    if (welcome.exec() == QDialog::Accepted)
        settings_.WelcomeScreen = welcome.ShowAtStartup() ? 1 : 0;
}

// --- shutdown -------------------------------------------------------------

void CMainFrame::RequestClose() { close(); }

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
    if (saveTree) {
        SaveProblems problems;
        const bool saved = SaveInventoryAtExit(*model_, platform_.registry(), loadedInventoryStamp_, problems);
        // Our own save, also one that left nodes out, must not look like
        // another program's to a later close.
        if (problems.writeFailure == ERROR_SUCCESS)
            loadedInventoryStamp_ = ReadInventoryStamp(platform_.registry());
        if (!saved) {
            unsaved.Note("the computer tree", problems.writeFailure);
            unsaved.NoteLeftOut(problems.leftOut);
        }
    }
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
    // A merge into the caret's node shows its new values, one below a
    // folder at the caret its new counts; the toolbar stays.
    InventoryNode* caret = CaretNode();
    if (node != nullptr && (node == caret || IsBelow(node, caret)))
        ShowDetailsFor(caret);
}

void CMainFrame::OnTreeChanged(const InventoryNode* parentOfChange) {
    InventoryNode* caret = CaretNode();
    if (caret == nullptr)
        ShowDetailsFor(nullptr);  // the tree's first item, or its last, changes the view
    else if (parentOfChange == caret || IsBelow(parentOfChange, caret))
        ShowDetailsFor(caret);  // a folder's counts
}

bool CMainFrame::IsBelow(const InventoryNode* node, const InventoryNode* folder) const {
    if (node == nullptr || folder == nullptr || !folder->IsFolder)
        return false;
    for (const InventoryNode* walk = model_->ParentOf(node); walk != nullptr; walk = model_->ParentOf(walk)) {
        if (walk == folder)
            return true;
    }
    return false;
}

void CMainFrame::ShowDetailsFor(InventoryNode* node) { details_->ShowSelection(node); }

void CMainFrame::PopContextMenu(int menuId, const QPoint& globalPosition) {
    if (QMenu* menu = commands_->ContextMenu(menuId))
        menu->exec(globalPosition);
    treeView_->Tree().viewport()->update();
}

// --- MainWindowContext ----------------------------------------------------

InventoryModel& CMainFrame::Model() { return *model_; }

std::vector<InventoryNode*> CMainFrame::SelectedNodes() const { return treeView_->Tree().SelectedNodes(); }

InventoryNode* CMainFrame::CaretNode() const { return treeView_->Tree().CaretNode(); }

FolderNode* CMainFrame::SelectedFolder() const { return dynamic_cast<FolderNode*>(CaretNode()); }

void CMainFrame::ClearSelection() { treeView_->Tree().ClearMarks(); }

void CMainFrame::SelectNode(InventoryNode* node) { treeView_->Tree().MakeSelectedCaret(node); }

void CMainFrame::ClearCaret() { treeView_->Tree().selectionModel()->clearCurrentIndex(); }

void CMainFrame::FocusTree() { treeView_->Tree().setFocus(Qt::OtherFocusReason); }

void CMainFrame::RepaintTree() { treeView_->Tree().viewport()->update(); }

ComputerScanWorker& CMainFrame::ComputerScan() { return *computerScan_; }

SubnetScanWorker& CMainFrame::SubnetScan() { return *subnetScan_; }

NetworkScanWorker& CMainFrame::NetworkScan() { return *networkScan_; }

bool CMainFrame::IsScanRunning(ScanWorkerKind kind) const {
    switch (kind) {
    case ScanWorkerKind::Computer: return computerScan_->IsRunning();
    case ScanWorkerKind::Subnet: return subnetScan_->IsRunning();
    case ScanWorkerKind::Network: return networkScan_->IsRunning();
    }
    return false;
}

StatusSink& CMainFrame::WorkerStatusSink() { return treeView_->WorkerStatusSink(); }

TreeSink& CMainFrame::WorkerTreeSink() { return treeView_->WorkerTreeSink(); }

void CMainFrame::ShowDetailsView(int key) { details_->ShowView(key); }

void CMainFrame::SendCommand(int commandId) { commands_->Execute(commandId); }

void CMainFrame::CreateCredentialsNotice() {
    if (options_.Identity == nullptr)
        return;
    credentialsNotice_ = new QToolBar(QStringLiteral("Credentials notice"), this);
    credentialsNotice_->setObjectName(QStringLiteral("CredentialsNotice"));
    credentialsNotice_->setMovable(false);
    credentialsNotice_->setFloatable(false);
    credentialsNotice_->toggleViewAction()->setVisible(false);
    auto* text = new QLabel(QStringLiteral("Computers will be examined anonymously: products that only administrators "
                                           "may read will not be found. <a href=\"credentials\">Set Network "
                                           "Credentials...</a>"),
                            credentialsNotice_);
    text->setObjectName(QStringLiteral("credentialsNoticeText"));
    text->setTextFormat(Qt::RichText);
    text->setContentsMargins(6, 2, 6, 2);
    connect(text, &QLabel::linkActivated, this, [this] { ShowNetworkCredentialsDialog(); });
    credentialsNotice_->addWidget(text);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, credentialsNotice_);
    UpdateCredentialsNotice();
}

void CMainFrame::UpdateCredentialsNotice() {
    if (credentialsNotice_ != nullptr)
        credentialsNotice_->setVisible(options_.Identity->Anonymous());
}

void CMainFrame::ShowNetworkCredentialsDialog() {
    if (options_.Identity == nullptr)
        return;
    const InventoryNode* caret = CaretNode();
    const std::string computer = caret != nullptr && !caret->IsFolder ? caret->Name : std::string();
    NetworkCredentialsDialog dialog(*options_.Identity, options_.TestCredentials, computer, this);
    (void)dialog.exec();  // what the dialog changed is in the identity either way
    UpdateCredentialsNotice();
}

void CMainFrame::ShowSettingsDialog() {
    CSettingsDlg dialog(settings_, this);
    if (dialog.exec() == QDialog::Accepted)
        SetSplitterLock(settings_.LockHorizontalSplitter != 0);
}

void CMainFrame::SetSplitterLock(bool locked) {
    right_->SetLocked(locked);
    if (locked && panesApplied_)
        FitPanelsToContent();
}

bool CMainFrame::IsToolBarVisible() const { return !toolBar_->isHidden(); }

void CMainFrame::SetToolBarVisible(bool visible) { toolBar_->setVisible(visible); }

bool CMainFrame::IsStatusBarVisible() const { return !statusBar()->isHidden(); }

void CMainFrame::SetStatusBarVisible(bool visible) { statusBar()->setVisible(visible); }

}  // namespace vn
