#include "app/commands/ActionCommands.h"

#include <string>
#include <vector>

#include "app/commands/FocusTreeOnExit.h"
#include "app/commands/LocalVantorHost.h"
#include "app/commands/ScanGuard.h"
#include "app/commands/SubsystemLaunchers.h"
#include "app/context/MainWindowContext.h"
#include "app/dialogs/CBetaWarningDlg.h"
#include "app/dialogs/MakerPages.h"
#include "core/MessageBoxService.h"
#include "core/StatusSink.h"
#include "detect/AddressResolution.h"
#include "inventory/InventoryNode.h"

namespace vn {
namespace {

const ComputerRecord* AsComputer(const InventoryNode* node) {
    return node != nullptr && !node->IsFolder ? static_cast<const ComputerRecord*>(node) : nullptr;
}

// A computer whose last examination failed cannot be reached for its services
// or policies; false after telling the user so.
bool Reachable(const ComputerRecord& computer) {
    if (!computer.HasError)
        return true;
    ShowMessage(kAppCaption, FormatText("Faliled to connect to computer %s.\n%s", computer.Name, computer.ErrorString),
                MessageIcon::Warning);
    return false;
}

}  // namespace

void ActionCommands::Install() {
    FocusTreeOnExit focus(context_);
    if (!launchers_.DeploymentWizard || ScanInProgress(context_))
        return;
    Platform& platform = context_.GetPlatform();
    std::vector<std::string> targets;
    for (const InventoryNode* node : context_.SelectedNodes()) {
        const ComputerRecord* computer = AsComputer(node);
        if (computer == nullptr)
            continue;
        if (IsLocalAddress(platform, computer->LastKnownIP)) {
            ShowMessage("Error", "You cannot install Vantor to local computer.", MessageIcon::Warning);
            continue;
        }
        targets.push_back(computer->Name);
    }
    if (!IsVantorHostInstalledHere(platform.registry())) {
        CBetaWarningDlg warning(QString::fromStdString(MakerPageUrl(platform.registry(), kDownloadPage)),
                                context_.DialogParent());
        warning.exec();
    } else {
        launchers_.DeploymentWizard(targets);
    }
    context_.RepaintTree();
}

const ComputerRecord* ActionCommands::SingleSelectedComputer(const char* refusal) const {
    const std::vector<InventoryNode*> selection = context_.SelectedNodes();
    const ComputerRecord* computer = selection.size() == 1 ? AsComputer(selection.front()) : nullptr;
    if (computer == nullptr)
        ShowMessage(kAppCaption, refusal, MessageIcon::Information);
    return computer;
}

void ActionCommands::DisableEnableServices() {
    if (!launchers_.ServiceManager)
        return;
    const ComputerRecord* computer =
        SingleSelectedComputer("You must select an individual computer to disable/enable services!");
    if (computer == nullptr || !Reachable(*computer))
        return;
    if (computer->InstalledProducts.empty()) {
        ShowMessage(kAppCaption, "No remote access services detected on this computer.", MessageIcon::Information);
        return;
    }
    // The computer that passed the checks above, even when a Ctrl+click left
    // the caret on another item.
    launchers_.ServiceManager(*computer);
}

void ActionCommands::CheckGroupPolicies() {
    if (!launchers_.PolicyCheck)
        return;
    const std::vector<InventoryNode*> selection = context_.SelectedNodes();
    if (selection.empty())
        return;
    if (const ComputerRecord* computer = AsComputer(selection.front()))
        RunPolicyCheck(*computer);
}

void ActionCommands::CheckPoliciesOfSelection() {
    if (!launchers_.PolicyCheck)
        return;
    const ComputerRecord* computer =
        SingleSelectedComputer("You must select an individual computer to check Group Policies!");
    if (computer != nullptr && Reachable(*computer))
        RunPolicyCheck(*computer);
}

void ActionCommands::RunPolicyCheck(const ComputerRecord& computer) {
    launchers_.PolicyCheck(computer, IsLocalAddress(context_.GetPlatform(), computer.LastKnownIP));
}

void ActionCommands::GroupPolicy() {
    if (!launchers_.PolicyTemplate)
        return;
    // The console button needs the directory's management console of a
    // Windows 2000 or 2003 server, which this platform never has.
    launchers_.PolicyTemplate(false);
}

}  // namespace vn
