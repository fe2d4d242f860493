#include "cli/InventoryChange.h"

#include <algorithm>

#include "cli/ComputerJson.h"
#include "cli/ScanProgress.h"
#include "cli/ScanRunner.h"

namespace vn::cli {

std::string FolderOptionProblem(const CommandContext& context, InventoryPath& path) {
    return context.line.folder ? ParseFolderPath(*context.line.folder, path) : std::string();
}

bool LoadForChange(CommandContext& context, InventoryStore& store) {
    if (store.Load())
        return true;
    context.Fail("the saved inventory could not be read completely; it is left unchanged");
    return false;
}

bool MakeFolderForChange(CommandContext& context, InventoryModel& model, const InventoryPath& path, FolderNode*& folder,
                         std::vector<FolderNode*>& created) {
    folder = MakeFolderPath(model, path, created);
    for (const FolderNode* made : created) {
        if (ShadowsComputer(model, *made)) {
            context.Fail(FolderBesideComputerRefusal(NodePath(model, *made)));
            return false;
        }
    }
    return true;
}

std::string FolderBesideComputerRefusal(const std::string& path) {
    return "a folder \"" + path + "\" cannot be kept beside the computer of that name";
}

int ChangeSavedTree(CommandContext& context, InventoryStore& store,
                    const std::function<bool(InventoryModel&)>& change) {
    switch (store.Change(change)) {
    case InventoryStore::ChangeResult::Saved:
    case InventoryStore::ChangeResult::Unchanged: return kExitDone;
    case InventoryStore::ChangeResult::Unreadable:
        return context.Fail("the saved inventory could not be read completely; it is left unchanged");
    case InventoryStore::ChangeResult::NotSaved: break;
    }
    for (const std::string& leftOut : store.LastSaveProblems().leftOut)
        context.Warn("left out of the saved inventory: " + leftOut);
    return context.Fail(
        "the inventory could not be saved completely: the registry refused a write (the tree saved before "
        "is kept), or a name cannot be a registry key name (that node is left out)");
}

int ScanIntoTree(CommandContext& context, InventoryStore& store, std::vector<ScanEntry> entries,
                 std::vector<ExaminedComputer>& examined) {
    ScanProgress progress(context, "reachable");
    int result = kExitDone;
    InventoryModel& model = store.Model();
    RunComputerScan(
        context.host.platform(), context.host.catalogue(), model, std::move(entries), progress.Status(),
        [&](const ComputerRecord& computer) {
            progress.Line().Beside([&] { WriteNodeLine(context.host.out(), model, computer); });
            auto copy = std::make_unique<ComputerRecord>(computer.Name);
            copy->CopyFrom(computer);
            examined.push_back({PathOf(model, model.ParentOf(&computer)), std::move(copy)});
            if (computer.HasError)
                result = kExitIncomplete;
            else
                progress.Line().Count();
        },
        [&] { progress.Tick(); });
    progress.Line().Finish();
    return result;
}

int WorseStatus(int a, int b) { return std::max(a, b); }

}  // namespace vn::cli
