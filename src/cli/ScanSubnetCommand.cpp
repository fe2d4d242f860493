#include "cli/Commands.h"
#include "cli/DiscoveryScan.h"
#include "cli/FastSweepOptions.h"
#include "cli/InventoryChange.h"
#include "cli/SubnetOperands.h"
#include "discovery/SubnetScanWorker.h"

namespace vn::cli {

int RunScanSubnet(CommandContext& context) {
    AddressRange range;
    if (const std::string problem = ParseSubnetOperands(context.operands, range); !problem.empty())
        return context.BadUsage(problem);
    std::optional<FastSweep> fast;
    if (const std::string problem = ParseFastSweepOptions(context.line, fast); !problem.empty())
        return context.BadUsage(problem);
    InventoryPath folderPath;
    if (const std::string problem = FolderOptionProblem(context, folderPath); !problem.empty())
        return context.BadUsage(problem);
    SubnetScanWorker worker(context.host.platform());
    return RunDiscoveryScan(
        context, folderPath, false,
        {ScanProgress::Fraction::ScaledTo, static_cast<long>(range.To) - static_cast<long>(range.From) + 1}, worker,
        [&](const DiscoveryTarget& target) {
            auto job =
                std::make_unique<SubnetScanJob>(range.From, range.To, !context.line.noResolve, target.Folder,
                                                target.Status, target.Tree, context.host.catalogue(), target.Questions);
            job->Fast = fast;
            worker.Start(std::move(job));
        },
        [&] {
            switch (worker.LastOutcome()) {
            case SubnetScanWorker::Outcome::Cancelled: return DiscoveryEnd::Cancelled;
            case SubnetScanWorker::Outcome::WaitFailed:
            case SubnetScanWorker::Outcome::SweepFailed: return DiscoveryEnd::Failed;
            default: return DiscoveryEnd::Finished;
            }
        });
}

}  // namespace vn::cli
