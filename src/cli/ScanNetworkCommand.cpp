#include "cli/Commands.h"
#include "cli/DiscoveryScan.h"
#include "cli/InventoryChange.h"
#include "discovery/NetworkScanWorker.h"
#include "inventory/NameRules.h"

namespace vn::cli {

int RunScanNetwork(CommandContext& context) {
    InventoryPath folderPath;
    if (const std::string problem = FolderOptionProblem(context, folderPath); !problem.empty())
        return context.BadUsage(problem);
    // The name becomes the top folder's, which the saved tree must be able to keep.
    if (const std::string refusal = ScanFolderNameRefusal(context.operands.at(0)); !refusal.empty())
        return context.BadUsage(refusal);
    NetworkScanWorker worker(context.host.platform());
    return RunDiscoveryScan(
        context, folderPath, context.line.erase, {ScanProgress::Fraction::Percent}, worker,
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
