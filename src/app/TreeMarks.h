#pragma once

#include <algorithm>
#include <unordered_set>
#include <vector>

namespace vn {

struct InventoryNode;

// The tree's multi-selection: the nodes whose items carry the selected mark,
// and the selection list, the marked nodes in the order they were clicked,
// which a drag moves. The caret is the view's own and is not kept here.
class TreeMarks {
public:
    bool IsMarked(const InventoryNode* node) const { return marked_.count(node) != 0; }
    std::size_t MarkedCount() const { return marked_.size(); }
    const std::vector<InventoryNode*>& SelectionList() const { return list_; }

    // Marks the node and appends it to the selection list (once).
    void Select(InventoryNode* node) {
        marked_.insert(node);
        if (std::find(list_.begin(), list_.end(), node) == list_.end())
            list_.push_back(node);
    }
    // Takes the mark off and the node out of the selection list.
    void Deselect(const InventoryNode* node) {
        marked_.erase(node);
        list_.erase(std::remove(list_.begin(), list_.end(), node), list_.end());
    }
    void ClearAll() {
        marked_.clear();
        list_.clear();
    }
    void ClearList() { list_.clear(); }

    // Drops the nodes that are no longer in the tree (freed nodes must not be
    // reached through the selection list).
    template <typename StillInTree>
    void Prune(StillInTree stillInTree) {
        std::erase_if(marked_, [&](const InventoryNode* node) { return !stillInTree(node); });
        std::erase_if(list_, [&](const InventoryNode* node) { return !stillInTree(node); });
    }

private:
    std::unordered_set<const InventoryNode*> marked_;
    std::vector<InventoryNode*> list_;
};

}  // namespace vn
