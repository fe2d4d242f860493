#include <QApplication>
#include <csignal>

#include "app/CMainFrame.h"
#include "app/commands/DeployLauncher.h"
#include "app/commands/MainCommands.h"
#include "app/commands/ManageLaunchers.h"
#include "app/context/MainWindowContext.h"
#include "catalogue/ProductCatalogue.h"
#include "credentials/NetworkIdentity.h"
#include "credentials/SecretServiceKeyring.h"
#include "detect/ComputerProbe.h"
#include "platform/RemoteDeadline.h"
#include "platform/SecretFileCheck.h"
#include "platform/smb/SmbBackend.h"
#include "platform/smb/pool/SmbCredentials.h"
#include "platform/system/SystemPlatform.h"
#include "ui/QtMessageBoxService.h"
#include "update/ui/QtNewVersionDialogService.h"

int main(int argc, char* argv[]) {
    // The program takes no arguments; Qt's own are the toolkit's.
    // A peer that closes its end (a directory server, a reader of the
    // output) gives a failed write to report, not the end of the process
    // and of the unsaved results of a scan.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor Netwarden"));
    // The installed menu entry, so that desktops put the window under its icon.
    QApplication::setDesktopFileName(QStringLiteral("example.vantor.Netwarden"));

    vn::QtMessageBoxService messageBoxes;
    vn::InstallMessageBoxService(&messageBoxes);
    vn::SystemPlatform platform;
    const std::string credentialsWarning =
        vn::UnprotectedSecretFileWarning(vn::smb::SmbCredentials::DefaultAuthFilePath());
    if (!credentialsWarning.empty())
        vn::ShowMessage(vn::kAppCaption, credentialsWarning, vn::MessageIcon::Warning);
    vn::QtNewVersionDialogService newVersionDialogs;
    vn::SecretServiceKeyring keyring;
    vn::NetworkIdentity identity(
        keyring,
        [&platform](const vn::smb::SmbCredentials& credentials) { platform.Remote().SetCredentials(credentials); },
        vn::smb::SmbCredentials::DefaultAuthFilePath());
    identity.UseStored();

    int result = 0;
    {
        vn::MainFrameOptions options;
        options.NewVersionDialogs = &newVersionDialogs;
        options.Identity = &identity;
        options.TestCredentials = [&platform](const std::optional<vn::smb::SmbCredentials>& credentials,
                                              const std::string& computer) {
            const vn::RemoteDeadlineScope deadline(vn::kExaminationLimit);
            if (!credentials)
                return vn::CheckAdministratorView(platform.registry(), computer);
            // Helpers of their own, so that the test leaves the identity in use alone.
            vn::smb::SmbBackend trial(*credentials);
            return vn::CheckAdministratorView(trial.registry(), computer);
        };
        vn::CMainFrame frame(platform, vn::GlobalCatalogue(), options);
        vn::SubsystemLaunchers launchers = frame.Commands().Launchers();
        vn::SetManageLaunchers(launchers, frame);
        vn::SetDeployLauncher(launchers, frame);
        frame.Commands().SetLaunchers(std::move(launchers));
        messageBoxes.SetParent(&frame);
        frame.show();
        frame.repaint();
        frame.RunWelcomeScreen();
        frame.FocusTree();
        result = QApplication::exec();
        messageBoxes.SetParent(nullptr);
    }
    vn::InstallMessageBoxService(nullptr);
    return result;
}
