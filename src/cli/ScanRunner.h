#pragma once

#include <functional>
#include <vector>

#include "core/BlockingCallDispatcher.h"
#include "core/DispatchedStatusSink.h"
#include "core/StatusSink.h"
#include "detect/ComputerScanJob.h"
#include "detect/DispatchedTreeSink.h"
#include "inventory/InventoryModel.h"
#include "platform/Platform.h"
#include "platform/WorkerThread.h"

namespace vn::cli {

// Sinks for a worker, as the window program gives them: each result goes
// into the model and each status line to status through a blocking call onto
// this thread (the model's). placed sees, on this thread, each computer as it
// now stands in the tree (a result merged into an existing computer gives
// that computer). Made on the model's thread.
class ModelSinks {
public:
    using PlacedFunction = std::function<void(const ComputerRecord&)>;

    ModelSinks(InventoryModel& model, StatusSink& status, PlacedFunction placed);

    TreeSink& Tree() { return tree_; }
    StatusSink& Status() { return status_; }

private:
    BlockingCallDispatcher toModel_;
    DispatchedTreeSink tree_;
    DispatchedStatusSink status_;
};

class InterruptCatcher;

// Runs this thread's event loop until the started worker has ended: the
// worker needs this thread for every result, so it cannot be waited for
// directly. With interrupts, a Ctrl+C meanwhile is a stop request to the
// worker. Needs a QCoreApplication.
// tick, when given, runs on this thread every few milliseconds meanwhile.
void RunUntilEnded(WorkerThread& worker, InterruptCatcher* interrupts = nullptr,
                   const std::function<void()>& tick = {});

// Examines entries on a ComputerScanWorker as the window program does, one
// placed call per entry, in order; tick as for RunUntilEnded.
void RunComputerScan(Platform& platform, const ProductCatalogue& catalogue, InventoryModel& model,
                     std::vector<ScanEntry> entries, StatusSink& status, const ModelSinks::PlacedFunction& placed,
                     const std::function<void()>& tick = {});

}  // namespace vn::cli
