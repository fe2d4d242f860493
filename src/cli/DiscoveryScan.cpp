#include "cli/DiscoveryScan.h"

#include "cli/ComputerJson.h"
#include "cli/Interrupt.h"
#include "cli/InventoryChange.h"
#include "cli/ScanProgress.h"
#include "cli/ScanRunner.h"
#include "discovery/EraseInventory.h"

namespace vn::cli {
namespace {

// Ctrl+C is the user's own answer: the stop request it makes is meant.
class InterruptIsConfirmation final : public StopQuestion {
public:
    bool ConfirmStop(std::string_view, std::string_view) override { return true; }
};

// Copies what a scan found into the saved tree, where InsertNode merges
// folders and computers with those already there. False when a folder could
// not go in (a computer of its name stands there).
bool MergeFound(InventoryModel& to, FolderNode* target, const NodeList& found) {
    bool whole = true;
    for (const InventoryNode* node : found) {
        if (const auto* folder = dynamic_cast<const FolderNode*>(node)) {
            auto* merged =
                dynamic_cast<FolderNode*>(to.InsertNode(target, std::make_unique<FolderNode>(folder->Name), false));
            whole = merged != nullptr && MergeFound(to, merged, folder->Children) && whole;
        } else {
            auto copy = std::make_unique<ComputerRecord>(node->Name);
            copy->CopyFrom(static_cast<const ComputerRecord&>(*node));
            to.InsertNode(target, std::move(copy), false);
        }
    }
    return whole;
}

}  // namespace

int RunDiscoveryScan(CommandContext& context, const InventoryPath& folderPath, bool erase,
                     const DiscoveryFraction& fraction, WorkerThread& worker,
                     const std::function<void(const DiscoveryTarget&)>& start,
                     const std::function<DiscoveryEnd()>& end) {
    if (!context.UseCredentials())
        return kExitIncomplete;
    // The saved tree must be readable before a scan that may take minutes.
    InventoryStore store(context.host.platform(), context.host.catalogue());
    if (!LoadForChange(context, store))
        return kExitIncomplete;
    // The scan fills a tree of its own; what it found goes into the saved
    // tree as it stands when the scan is over, so that no change another
    // program saved meanwhile is lost.
    InventoryModel found;
    std::vector<FolderNode*> created;
    FolderNode* folder = nullptr;
    if (!MakeFolderForChange(context, found, folderPath, folder, created))
        return kExitIncomplete;

    int result = kExitDone;
    ScanProgress progress(context, "found", fraction.fraction, fraction.total);
    ModelSinks sinks(found, progress.Status(), [&](const ComputerRecord& computer) {
        progress.Line().Beside([&] {
            JsonObjectWriter json(context.host.out());
            WriteComputerFields(json, computer);
        });
        if (computer.HasError)
            result = kExitIncomplete;
        else
            progress.Line().Count();
    });
    InterruptIsConfirmation questions;
    // Caught before the worker starts, so that no Ctrl+C ends the program
    // while its results are not saved.
    InterruptCatcher interrupts;
    start(DiscoveryTarget{sinks.Status(), sinks.Tree(), questions, folder});
    RunUntilEnded(worker, &interrupts, [&] { progress.Tick(); });
    progress.Line().Finish();
    switch (end()) {
    case DiscoveryEnd::Finished: break;
    case DiscoveryEnd::Cancelled: result = context.Fail("the scan was cancelled; what it found is kept"); break;
    case DiscoveryEnd::Failed: result = context.Fail(progress.Text()); break;
    }
    bool refused = false;
    const int saved = ChangeSavedTree(context, store, [&](InventoryModel& model) {
        if (erase)
            EraseInventory(model);
        FolderNode* target = nullptr;
        std::vector<FolderNode*> made;
        if (!MakeFolderForChange(context, model, folderPath, target, made)) {
            refused = true;
            return false;
        }
        if (!MergeFound(model, target, found.ChildrenOf(folder))) {
            // A computer of that name came meanwhile; the rest is kept.
            context.Fail("a folder the scan found is left out: a computer of its name stands in its place");
            refused = true;
        }
        return true;
    });
    return WorseStatus(WorseStatus(result, saved), refused ? kExitIncomplete : kExitDone);
}

}  // namespace vn::cli
