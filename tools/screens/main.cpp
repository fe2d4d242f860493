// Renders the main window with a sample inventory to PNG files, one per
// details view, one with the progress panel and one with a context menu, so
// the look can be reviewed without a display:
//   netwarden_screens OUTDIR [WIDTHxHEIGHT]
// The window has the size given (the program's first-start size, 864x641,
// without one).
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
// The registry hives are temporary files and no scan or version check is
// started, so nothing of the user's and nothing on the network is touched.

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "RecordingMessageBoxService.h"
#include "ScreenRenderer.h"
#include "ScreenSequence.h"
#include "app/CMainFrame.h"
#include "catalogue/ProductCatalogue.h"
#include "platform/system/SystemPlatform.h"

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

// "1280x800"; an empty size when the text is not one.
QSize ParseSize(const char* text) {
    int width = 0;
    int height = 0;
    char end = 0;
    if (std::sscanf(text, "%dx%d%c", &width, &height, &end) != 2 || width < 200 || height < 200)
        return {};
    return QSize(width, height);
}

}  // namespace

int main(int argc, char* argv[]) {
    const QSize size =
        argc == 3 ? ParseSize(argv[2]) : QSize(vn::CMainFrame::kWindowWidth, vn::CMainFrame::kWindowHeight);
    if ((argc != 2 && argc != 3) || size.isEmpty()) {
        std::fprintf(stderr, "usage: netwarden_screens OUTDIR [WIDTHxHEIGHT]\n");
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
        // As a user sizes the window after the start; the offscreen platform
        // draws no frame, so outer and inner size are one.
        frame.resize(size);
        vn::ScreenRenderer renderer(frame, folder);
        vn::ScreenSequence screens(frame, renderer);
        screens.Run(catalogue);
        failures = screens.Failures();
    }
    vn::InstallMessageBoxService(nullptr);
    if (boxes.Count() != 0)
        ++failures;
    return failures == 0 ? 0 : 1;
}
