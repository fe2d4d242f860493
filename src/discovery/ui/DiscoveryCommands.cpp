#include "discovery/ui/DiscoveryCommands.h"

#include "discovery/EraseInventory.h"
#include "discovery/NetworkScanWorker.h"
#include "discovery/ScanDialogDefaults.h"
#include "discovery/SubnetScanWorker.h"
#include "discovery/ui/CNetScanDlg.h"
#include "discovery/ui/CSubnetScanDlg.h"

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
    if (dialog.exec() != QDialog::Accepted)
        return;
    const AddressRange range = dialog.Range();
    worker.Start(std::make_unique<SubnetScanJob>(range.From, range.To, dialog.Resolve(), context.SelectedFolder(),
                                                 context.Status, context.Tree, context.Catalogue, context.Questions));
}

}  // namespace vn
