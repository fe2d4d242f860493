#include "app/commands/DeployLauncher.h"

#include "app/commands/SubsystemLaunchers.h"
#include "app/context/MainWindowContext.h"
#include "deploy/ui/CInstallMainDlg.h"

namespace vn {

void SetDeployLauncher(SubsystemLaunchers& launchers, MainWindowContext& context) {
    launchers.DeploymentWizard = [&context](const std::vector<std::string>& computerNames) {
        std::vector<InstallTarget> targets;
        targets.reserve(computerNames.size());
        for (const std::string& name : computerNames)
            targets.push_back(InstallTarget{name, {}, 0, 0});
        CInstallMainDlg wizard(context.GetPlatform(), targets, context.DialogParent());
        wizard.exec();
    };
}

}  // namespace vn
