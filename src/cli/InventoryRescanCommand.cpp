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
    InventoryNode* node = nullptr;
    const std::string& text = context.operands.at(0);
    switch (FindInventoryNode(model, path, node)) {
    case PathLookup::Missing: context.Fail("\"" + text + "\" is not in the inventory"); return false;
    case PathLookup::Ambiguous: context.Fail(AmbiguousPathMessage(text)); return false;
    case PathLookup::Found: break;
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
    if (!ComputersToRescan(context, store.model(), path, computers))
        return kExitIncomplete;
    std::vector<ScanEntry> entries;
    for (const ComputerRecord* computer : computers)
        entries.push_back(ScanEntry{computer->Name, store.model().ParentOf(computer)});
    const int result = ScanIntoTree(context, store, std::move(entries));
    return WorseStatus(result, SaveChanges(context, store));
}

}  // namespace vn::cli
