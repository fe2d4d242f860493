#include "app/commands/SelectionJobs.h"

#include <algorithm>
#include <unordered_set>

#include "inventory/InventoryModel.h"
#include "inventory/InventoryQueries.h"

namespace vn {
namespace {

bool HasSelectedAncestor(const InventoryModel& model, const InventoryNode& node,
                         const std::unordered_set<const InventoryNode*>& selected) {
    for (const FolderNode* parent = model.ParentOf(&node); parent; parent = model.ParentOf(parent)) {
        if (selected.contains(parent))
            return true;
    }
    return false;
}

}  // namespace

std::vector<ScanEntry> RescanEntries(const InventoryModel& model, const std::vector<InventoryNode*>& selection) {
    std::vector<ScanEntry> entries;
    for (InventoryNode* node : selection) {
        if (!node->IsFolder) {
            entries.push_back({node->Name, model.ParentOf(node), static_cast<ComputerRecord*>(node)->LastKnownIP});
            continue;
        }
        std::vector<ComputerRecord*> computers;
        CollectComputers(model, static_cast<const FolderNode*>(node), computers);
        for (ComputerRecord* computer : computers)
            entries.push_back({computer->Name, model.ParentOf(computer), computer->LastKnownIP});
    }
    return entries;
}

std::vector<ScanEntry> EntriesInFolder(const std::vector<std::string>& names, FolderNode* folder) {
    std::vector<ScanEntry> entries;
    entries.reserve(names.size());
    for (const std::string& name : names)
        entries.push_back({name, folder});
    return entries;
}

void RemoveSelectedNodes(InventoryModel& model, const std::vector<InventoryNode*>& selection) {
    // Decided before anything is freed: which nodes leave with an ancestor.
    const std::unordered_set<const InventoryNode*> selected(selection.begin(), selection.end());
    std::vector<const InventoryNode*> tops;
    std::unordered_set<const InventoryNode*> taken;
    for (const InventoryNode* node : selection) {
        if (model.Contains(node) && !HasSelectedAncestor(model, *node, selected) && taken.insert(node).second)
            tops.push_back(node);
    }
    for (const InventoryNode* node : tops)
        model.DeleteSubtree(node);
}

bool AllComputers(const std::vector<InventoryNode*>& selection) {
    return std::none_of(selection.begin(), selection.end(), [](const InventoryNode* node) { return node->IsFolder; });
}

}  // namespace vn
