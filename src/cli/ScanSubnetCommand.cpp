#include "cli/Commands.h"
#include "cli/DiscoveryScan.h"
#include "cli/InventoryChange.h"
#include "cli/SubnetOperands.h"
#include "discovery/SubnetScanWorker.h"

namespace vn::cli {

int RunScanSubnet(CommandContext& context) {
    AddressRange range;
    if (const std::string problem = ParseSubnetOperands(context.operands, range); !problem.empty())
        return context.BadUsage(problem);
    InventoryPath folderPath;
    if (const std::string problem = FolderOptionProblem(context, folderPath); !problem.empty())
        return context.BadUsage(problem);
    SubnetScanWorker worker(context.host.platform());
    return RunDiscoveryScan(
        context, folderPath, false, worker,
        [&](const DiscoveryTarget& target) {
            worker.Start(std::make_unique<SubnetScanJob>(range.From, range.To, !context.line.noResolve, target.Folder,
                                                         target.Status, target.Tree, context.host.catalogue(),
                                                         target.Questions));
        },
        [&] {
            switch (worker.LastOutcome()) {
            case SubnetScanWorker::Outcome::Cancelled: return DiscoveryEnd::Cancelled;
            case SubnetScanWorker::Outcome::WaitFailed: return DiscoveryEnd::Failed;
            default: return DiscoveryEnd::Finished;
            }
        });
}

}  // namespace vn::cli
