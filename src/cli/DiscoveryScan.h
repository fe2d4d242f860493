#pragma once

#include <functional>

#include "cli/CommandContext.h"
#include "cli/InventoryPath.h"
#include "cli/ScanProgress.h"
#include "core/StatusSink.h"
#include "detect/TreeSink.h"
#include "discovery/StopQuestion.h"
#include "platform/WorkerThread.h"

namespace vn::cli {

// Where a scan command's worker sends what it finds.
struct DiscoveryTarget {
    StatusSink& Status;
    TreeSink& Tree;
    StopQuestion& Questions;
    FolderNode* Folder;  // the folder of --folder; null: the top level
};

// How the worker's progress position reads as done of total on the
// progress line.
struct DiscoveryFraction {
    ScanProgress::Fraction fraction;
    long total = 0;  // for ScanProgress::Fraction::ScaledTo
};

// How a scan ended, as the command reports it.
enum class DiscoveryEnd { Finished, Cancelled, Failed };

// What the two scan commands share around their worker: the saved tree,
// emptied first when erase is set; the folder of folderPath, made when
// missing; each computer found printed as probe prints it, as it is placed;
// Ctrl+C as a confirmed stop request (the worker finishes what is in flight);
// a progress line on a terminal;
// and the tree saved at the end, also after a cancel or a failure. start
// starts the worker with a job for the target; end tells how it ended.
int RunDiscoveryScan(CommandContext& context, const InventoryPath& folderPath, bool erase,
                     const DiscoveryFraction& fraction, WorkerThread& worker,
                     const std::function<void(const DiscoveryTarget&)>& start,
                     const std::function<DiscoveryEnd()>& end);

}  // namespace vn::cli
