#include "cli/DiscoveryScan.h"

#include "cli/ComputerJson.h"
#include "cli/Interrupt.h"
#include "cli/InventoryChange.h"
#include "cli/ScanRunner.h"
#include "detect/TextStatusSink.h"

namespace vn::cli {
namespace {

// Ctrl+C is the user's own answer: the stop request it makes is meant.
class InterruptIsConfirmation final : public StopQuestion {
public:
    bool ConfirmStop(std::string_view, std::string_view) override { return true; }
};

void EraseInventory(InventoryModel& model) {
    const NodeList& topLevel = model.ChildrenOf(nullptr);
    while (!topLevel.empty())
        model.DeleteSubtree(topLevel.front());
}

}  // namespace

int RunDiscoveryScan(CommandContext& context, const InventoryPath& folderPath, bool erase, WorkerThread& worker,
                     const std::function<void(const DiscoveryTarget&)>& start,
                     const std::function<DiscoveryEnd()>& end) {
    if (!context.UseCredentials())
        return kExitIncomplete;
    InventoryStore store(context.host.platform(), context.host.catalogue());
    if (!LoadForChange(context, store))
        return kExitIncomplete;
    if (erase)
        EraseInventory(store.model());
    std::vector<FolderNode*> created;
    FolderNode* folder = nullptr;
    if (!MakeFolderForChange(context, store, folderPath, folder, created))
        return kExitIncomplete;

    int result = kExitDone;
    TextStatusSink status([&](const std::string& line) { context.Status(line); });
    ModelSinks sinks(store.model(), status, [&](const ComputerRecord& computer) {
        JsonObjectWriter json(context.host.out());
        WriteComputerFields(json, computer);
        if (computer.HasError)
            result = kExitIncomplete;
    });
    InterruptIsConfirmation questions;
    // Caught before the worker starts, so that no Ctrl+C ends the program
    // while its results are not saved.
    InterruptCatcher interrupts;
    start(DiscoveryTarget{sinks.Status(), sinks.Tree(), questions, folder});
    RunUntilEnded(worker, &interrupts);
    switch (end()) {
    case DiscoveryEnd::Finished:
        break;
    case DiscoveryEnd::Cancelled:
        result = context.Fail("the scan was cancelled; what it found is kept");
        break;
    case DiscoveryEnd::Failed:
        result = context.Fail(status.Text());
        break;
    }
    return WorseStatus(result, SaveChanges(context, store));
}

}  // namespace vn::cli
