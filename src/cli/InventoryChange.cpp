#include "cli/InventoryChange.h"

#include <algorithm>

#include "cli/ComputerJson.h"
#include "cli/ScanRunner.h"
#include "detect/TextStatusSink.h"

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

bool MakeFolderForChange(CommandContext& context, InventoryStore& store, const InventoryPath& path,
                         FolderNode*& folder, std::vector<FolderNode*>& created) {
    folder = MakeFolderPath(store.model(), path, created);
    for (const FolderNode* made : created) {
        if (ShadowsComputer(store.model(), *made)) {
            context.Fail("a folder \"" + NodePath(store.model(), *made) +
                         "\" cannot be kept beside the computer of that name");
            return false;
        }
    }
    return true;
}

int SaveChanges(CommandContext& context, InventoryStore& store) {
    if (store.Save())
        return kExitDone;
    return context.Fail(
        "the inventory could not be saved completely: the registry refused a write (the tree saved before "
        "is kept), or a name cannot be a registry key name (that node is left out)");
}

int ScanIntoTree(CommandContext& context, InventoryStore& store, std::vector<ScanEntry> entries) {
    TextStatusSink status([&](const std::string& line) { context.Status(line); });
    int result = kExitDone;
    RunComputerScan(context.host.platform(), context.host.catalogue(), store.model(), std::move(entries), status,
                    [&](const ComputerRecord& computer) {
                        WriteNodeLine(context.host.out(), store.model(), computer);
                        if (computer.HasError)
                            result = kExitIncomplete;
                    });
    return result;
}

int WorseStatus(int a, int b) { return std::max(a, b); }

}  // namespace vn::cli
