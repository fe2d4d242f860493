#include <charconv>
#include <chrono>
#include <string_view>

#include "cli/Commands.h"
#include "cli/DiscoveryScan.h"
#include "cli/InventoryChange.h"
#include "discovery/NetworkScanWorker.h"
#include "inventory/NameRules.h"

namespace vn::cli {
namespace {

constexpr std::chrono::milliseconds kDefaultWsdWait{2000};
constexpr std::chrono::milliseconds kMostWsdWait{60000};

bool ParseWsdWait(std::string_view text, std::chrono::milliseconds& wait) {
    unsigned long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 1 ||
        value > static_cast<unsigned long>(kMostWsdWait.count()))
        return false;
    wait = std::chrono::milliseconds(value);
    return true;
}

}  // namespace

int RunScanNetwork(CommandContext& context) {
    InventoryPath folderPath;
    if (const std::string problem = FolderOptionProblem(context, folderPath); !problem.empty())
        return context.BadUsage(problem);
    // The name becomes the top folder's, which the saved tree must be able to keep.
    if (const std::string refusal = ScanFolderNameRefusal(context.operands.at(0)); !refusal.empty())
        return context.BadUsage(refusal);
    std::chrono::milliseconds wsdWait = kDefaultWsdWait;
    if (context.line.wsdWait && !ParseWsdWait(*context.line.wsdWait, wsdWait))
        return context.BadUsage("--wsd-wait takes milliseconds, 1 to " + std::to_string(kMostWsdWait.count()));
    context.host.PrepareWsd(wsdWait, context.line.verbose);
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
