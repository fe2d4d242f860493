#include "cli/Commands.h"
#include "cli/DiscoveryScan.h"
#include "cli/InventoryChange.h"
#include "discovery/NetworkScanWorker.h"

namespace vn::cli {

int RunScanNetwork(CommandContext& context) {
    InventoryPath folderPath;
    if (const std::string problem = FolderOptionProblem(context, folderPath); !problem.empty())
        return context.BadUsage(problem);
    NetworkScanWorker worker(context.host.platform());
    return RunDiscoveryScan(
        context, folderPath, context.line.erase, worker,
        [&](const DiscoveryTarget& target) {
            worker.Start(std::make_unique<NetworkScanJob>(context.operands.at(0), target.Folder, target.Status,
                                                          target.Tree, context.host.catalogue(), target.Questions));
        },
        [&] {
            switch (worker.LastOutcome()) {
            case NetworkScanWorker::Outcome::Finished: return DiscoveryEnd::Finished;
            case NetworkScanWorker::Outcome::Cancelled: return DiscoveryEnd::Cancelled;
            default: return DiscoveryEnd::Failed;
            }
        });
}

}  // namespace vn::cli
