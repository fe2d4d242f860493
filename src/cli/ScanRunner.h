#pragma once

#include <functional>
#include <vector>

#include "detect/ComputerScanJob.h"
#include "detect/StatusSink.h"
#include "inventory/InventoryModel.h"
#include "platform/Platform.h"

namespace vn::cli {

// Examines entries on a ComputerScanWorker as the window program does: the
// worker hands each result to the model through a blocking call onto this
// thread, where an event loop runs until the worker has ended. Status lines
// reach status on this thread too. placed sees, on this thread, each
// computer as it now stands in the tree (a result merged into an existing
// computer gives that computer), one per entry, in order. Needs a
// QCoreApplication.
void RunComputerScan(Platform& platform, const ProductCatalogue& catalogue, InventoryModel& model,
                     std::vector<ScanEntry> entries, StatusSink& status,
                     const std::function<void(const ComputerRecord&)>& placed);

}  // namespace vn::cli
