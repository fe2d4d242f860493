#include "cli/Commands.h"
#include "cli/InventoryChange.h"
#include "cli/InventoryPath.h"
#include "inventory/InventoryQueries.h"

namespace vn::cli {
namespace {

// The computers a rescan of path takes; false with the message written when
// the path names nothing.
bool ComputersToRescan(CommandContext& context, const InventoryModel& model, const InventoryPath& path,
                       std::vector<ComputerRecord*>& computers) {
    if (path.names.empty()) {
        CollectComputers(model, nullptr, computers);
        return true;
    }
    InventoryNode* node = FindInventoryNode(model, path);
    if (node == nullptr) {
        context.Fail("\"" + context.operands.at(0) + "\" is not in the inventory");
        return false;
    }
    if (auto* folder = dynamic_cast<FolderNode*>(node))
        CollectComputers(model, folder, computers);
    else
        computers.push_back(static_cast<ComputerRecord*>(node));
    return true;
}

}  // namespace

int RunInventoryRescan(CommandContext& context) {
    InventoryPath path;
    if (!context.operands.empty() && !ParseInventoryPath(context.operands[0], path))
        return context.BadUsage("the path has an empty name");
    InventoryStore store(context.host.platform(), context.host.catalogue());
    if (!LoadForChange(context, store))
        return kExitIncomplete;
    std::vector<ComputerRecord*> computers;
    if (!ComputersToRescan(context, store.model(), path, computers) || !context.UseCredentials())
        return kExitIncomplete;
    std::vector<ScanEntry> entries;
    for (const ComputerRecord* computer : computers)
        entries.push_back(ScanEntry{computer->Name, store.model().ParentOf(computer)});
    const int result = ScanIntoTree(context, store, std::move(entries));
    return WorseStatus(result, SaveChanges(context, store));
}

}  // namespace vn::cli
