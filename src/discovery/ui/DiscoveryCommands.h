#pragma once

#include <functional>

#include "catalogue/ProductCatalogue.h"
#include "core/StatusSink.h"
#include "detect/TreeSink.h"
#include "discovery/StopQuestion.h"
#include "inventory/InventoryModel.h"
#include "platform/Platform.h"

class QWidget;

namespace vn {

class NetworkScanWorker;
class SubnetScanWorker;

// What the Scan Network and Scan Subnet commands need of the main window.
// The sinks and the question are the workers': callable from their threads,
// carried out on the window's.
struct DiscoveryCommandContext {
    QWidget* DialogParent;
    Platform& ScanPlatform;
    InventoryModel& Model;
    const ProductCatalogue& Catalogue;
    StatusSink& Status;
    TreeSink& Tree;
    StopQuestion& Questions;
    // The folder new nodes go into: the caret's folder, or null.
    std::function<FolderNode*()> SelectedFolder;
};

// Scan Network after the refusal check: the dialog; on OK the erase when it
// was chosen, then the scan, under the selected folder.
void RunNetworkScanCommand(const DiscoveryCommandContext& context, NetworkScanWorker& worker);

// Scan Subnet after the refusal check: the dialog; on OK the walk of the
// range, with what is found going into the selected folder.
void RunSubnetScanCommand(const DiscoveryCommandContext& context, SubnetScanWorker& worker);

}  // namespace vn
