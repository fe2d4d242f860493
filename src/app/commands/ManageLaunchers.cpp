#include "app/commands/ManageLaunchers.h"

#include "app/commands/SubsystemLaunchers.h"
#include "app/context/CommandIds.h"
#include "app/context/MainWindowContext.h"
#include "app/dialogs/MakerPages.h"
#include "inventory/InventoryNode.h"
#include "manage/ui/CGroupPolicy.h"
#include "manage/ui/CServiceManager.h"
#include "manage/ui/PolicyCheckCommand.h"
#include "platform/Platform.h"

namespace vn {

void SetManageLaunchers(SubsystemLaunchers& launchers, MainWindowContext& context) {
    launchers.PolicyCheck = [&context](const ComputerRecord& computer, bool isLocal) {
        RunPolicyCheckCommand(context.GetPlatform(), isLocal ? std::string() : computer.Name, context.DialogParent(),
                              [&context] { context.SendCommand(cmd::kGroupPolicy); });
    };
    // This platform never has the directory's management console, so the
    // dialog never offers to open it.
    launchers.PolicyTemplate = [&context](bool) {
        const std::string link = MakerPageUrl(context.GetPlatform().registry(), kSystemAdminPage);
        CGroupPolicy dialog(QString::fromStdString(link), GroupPolicyDesktop::System(), context.DialogParent());
        dialog.exec();
    };
    launchers.ServiceManager = [&context](const ComputerRecord& computer) {
        CServiceManager dialog(context.GetPlatform(), context.DialogParent());
        dialog.SetComputer(computer);
        dialog.exec();
    };
}

}  // namespace vn
