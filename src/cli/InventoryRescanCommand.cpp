#include "cli/Commands.h"
#include "cli/InventoryChange.h"
#include "cli/InventoryPath.h"
#include "inventory/InventoryQueries.h"
#include "inventory/NameCompare.h"

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

// Whether the saved tree still holds the computer in that folder.
bool StillThere(const InventoryModel& model, const ExaminedComputer& computer, FolderNode*& folder) {
    if (!FindFolderPath(model, computer.folder, folder))
        return false;
    for (const InventoryNode* child : model.ChildrenOf(folder)) {
        if (!child->IsFolder && NamesEqualIgnoringCase(child->Name, computer.record->Name))
            return true;
    }
    return false;
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
    if (!ComputersToRescan(context, store.Model(), path, computers) || !context.UseCredentials())
        return kExitIncomplete;
    std::vector<ScanEntry> entries;
    entries.reserve(computers.size());
    for (const ComputerRecord* computer : computers)
        entries.push_back(ScanEntry{computer->Name, store.Model().ParentOf(computer), computer->LastKnownIP});
    std::vector<ExaminedComputer> examined;
    const int result = ScanIntoTree(context, store, std::move(entries), examined);

    // The new records replace the saved ones; a computer removed meanwhile
    // stays removed.
    const int saved = ChangeSavedTree(context, store, [&](InventoryModel& model) {
        bool changed = false;
        for (ExaminedComputer& computer : examined) {
            FolderNode* folder = nullptr;
            if (StillThere(model, computer, folder)) {
                model.InsertNode(folder, std::move(computer.record), false);
                changed = true;
            } else {
                context.Warn("\"" + computer.record->Name +
                             "\" was removed from the inventory meanwhile; it stays removed");
            }
        }
        return changed;
    });
    return WorseStatus(result, saved);
}

}  // namespace vn::cli
