#include "discovery/ui/DiscoveryCommands.h"

#include "core/MessageBoxService.h"
#include "discovery/EraseInventory.h"
#include "discovery/FastSweepSetting.h"
#include "discovery/NetworkScanWorker.h"
#include "discovery/ScanDialogDefaults.h"
#include "discovery/SubnetScanWorker.h"
#include "discovery/ui/CNetScanDlg.h"
#include "discovery/ui/CSubnetScanDlg.h"
#include "platform/SystemErrorText.h"

namespace vn {

void RunNetworkScanCommand(const DiscoveryCommandContext& context, NetworkScanWorker& worker) {
    CNetScanDlg dialog(NetworkScanDefaultEntry(context.ScanPlatform), context.Model.rowCount() == 0,
                       context.DialogParent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.EraseChosen())
        EraseInventory(context.Model);
    worker.Start(std::make_unique<NetworkScanJob>(dialog.Container(), context.SelectedFolder(), context.Status,
                                                  context.Tree, context.Catalogue, context.Questions));
}

void RunSubnetScanCommand(const DiscoveryCommandContext& context, SubnetScanWorker& worker) {
    CSubnetScanDlg dialog(SubnetScanDefaultAddress(context.ScanPlatform), context.DialogParent);
    Registry& registry = context.ScanPlatform.registry();
    dialog.SetFastSweep(ReadFastSweepSetting(registry));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const Status status = WriteFastSweepSetting(registry, dialog.FastSweep()); status != ERROR_SUCCESS)
        ShowMessage("Error", "The Fast sweep choice could not be saved: " + SystemErrorText(status),
                    MessageIcon::Warning);
    const AddressRange range = dialog.Range();
    auto job = std::make_unique<SubnetScanJob>(range.From, range.To, dialog.Resolve(), context.SelectedFolder(),
                                               context.Status, context.Tree, context.Catalogue, context.Questions);
    if (dialog.FastSweep())
        job->Fast.emplace();
    worker.Start(std::move(job));
}

}  // namespace vn
