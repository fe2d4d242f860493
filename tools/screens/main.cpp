// Renders the main window with a sample inventory to PNG files, one per
// details view, one with the progress panel and one with a context menu, so
// the look can be reviewed without a display:
//   netwarden_screens OUTDIR
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
// The registry hives are temporary files and no scan or version check is
// started, so nothing of the user's and nothing on the network is touched.

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "RecordingMessageBoxService.h"
#include "SampleInventory.h"
#include "ScreenRenderer.h"
#include "app/CColumnTreeCtrl.h"
#include "app/CMainFrame.h"
#include "app/CMainTreeView.h"
#include "app/CommandIds.h"
#include "app/details/CDescriptionComputer.h"
#include "app/details/DetailsPane.h"
#include "detect/ProductCatalogue.h"
#include "detect/StatusSink.h"
#include "inventory/InventoryModel.h"
#include "platform/SystemPlatform.h"

namespace {

// The program's own state lives in the temporary folder; the version check
// could only reach a closed port on this computer.
void IsolateFromTheUser(const QTemporaryDir& state) {
    setenv("NETWARDEN_USER_HIVE", qPrintable(state.filePath(QStringLiteral("user.db"))), 1);
    setenv("NETWARDEN_MACHINE_HIVE", qPrintable(state.filePath(QStringLiteral("machine.db"))), 1);
    setenv("XDG_CONFIG_HOME", qPrintable(state.path()), 1);
    setenv("NETWARDEN_UPDATE_HOST", "127.0.0.1:9", 1);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

class Screens {
public:
    Screens(vn::CMainFrame& frame, vn::ScreenRenderer& renderer) : frame_(frame), renderer_(renderer) {}

    // Saves the window when the details pane shows the view expected.
    void Save(const QString& name, int expectedKey) {
        vn::ScreenRenderer::Settle();
        if (frame_.Details().CurrentKey() != expectedKey) {
            std::fprintf(stderr, "netwarden_screens: %s shows details view %d instead of %d\n", qPrintable(name),
                         frame_.Details().CurrentKey(), expectedKey);
            ++failures_;
            return;
        }
        if (!renderer_.Save(name))
            ++failures_;
    }

    void Select(vn::InventoryNode* node) { frame_.TreeView().Tree().MakeSelectedCaret(node); }

    void Run(vn::ProductCatalogue& catalogue) {
        Save(QStringLiteral("blank-35"), vn::details::kBlank);

        const vn::SampleInventory sample = vn::SampleInventory::Build(frame_.Model(), catalogue);
        vn::CColumnTreeCtrl& tree = frame_.TreeView().Tree();
        tree.ClearMarks();
        tree.setCurrentIndex(QModelIndex());
        frame_.ShowDetailsView(vn::details::kNoSelection);
        Save(QStringLiteral("no-selection-36"), vn::details::kNoSelection);

        Select(sample.workstation);
        Save(QStringLiteral("computer-31"), vn::details::kComputer);

        // The taller computer view is never chosen by the tree; it is given
        // the server by hand.
        Select(sample.server);
        static_cast<vn::CDescriptionComputer2*>(frame_.Details().View(vn::details::kComputer2))
            ->ShowNode(*sample.server);
        frame_.ShowDetailsView(vn::details::kComputer2);
        Save(QStringLiteral("computer2-32"), vn::details::kComputer2);

        Select(sample.headOffice);
        Save(QStringLiteral("folder-33"), vn::details::kFolder);

        Select(sample.accessDenied);
        Save(QStringLiteral("error-34"), vn::details::kError);

        SaveProgressPanel(sample);
        SaveContextMenu(sample);
    }

    int Failures() const { return failures_; }

private:
    void SaveProgressPanel(const vn::SampleInventory& sample) {
        Select(sample.workstation);
        vn::StatusSink& status = frame_.TreeView().Status();
        status.Reset();
        status.SetRange(9);
        status.SetPos(4);
        status.SetText("Searching for product \"%s\" on computer %s...", "Kestrel", sample.workstation->Name);
        status.Show(true);
        Save(QStringLiteral("progress"), vn::details::kComputer);
        status.Show(false);
    }

    void SaveContextMenu(const vn::SampleInventory& sample) {
        Select(sample.workstation);
        vn::CColumnTreeCtrl& tree = frame_.TreeView().Tree();
        const QPoint row = tree.visualRect(frame_.Model().indexOf(sample.workstation)).center();
        if (!renderer_.SaveWithPopup(QStringLiteral("context-menu"),
                                     [&] { tree.RequestContextMenu(row, false); }))
            ++failures_;
    }

    vn::CMainFrame& frame_;
    vn::ScreenRenderer& renderer_;
    int failures_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: netwarden_screens OUTDIR\n");
        return 2;
    }
    QTemporaryDir state;
    if (!state.isValid()) {
        std::fprintf(stderr, "netwarden_screens: no temporary folder\n");
        return 1;
    }
    IsolateFromTheUser(state);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor Netwarden"));
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "netwarden_screens: cannot create %s\n", argv[1]);
        return 1;
    }

    vn::RecordingMessageBoxService boxes;
    vn::InstallMessageBoxService(&boxes);
    int failures = 0;
    {
        vn::SystemPlatform platform;
        vn::ProductCatalogue catalogue;
        catalogue.Load(VN_SOURCE_CATALOGUE);

        vn::MainFrameOptions options;
        options.LoadCatalogue = false;
        vn::CMainFrame frame(platform, catalogue, options);
        frame.move(0, 0);
        frame.show();
        vn::ScreenRenderer renderer(frame, folder);
        Screens screens(frame, renderer);
        screens.Run(catalogue);
        failures = screens.Failures();
    }
    vn::InstallMessageBoxService(nullptr);
    if (boxes.Count() != 0)
        ++failures;
    return failures == 0 ? 0 : 1;
}
