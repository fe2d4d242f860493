#include "detect/DispatchedTreeSink.h"

namespace vn {

InventoryNode* DispatchedTreeSink::AddNode(std::unique_ptr<InventoryNode> node, FolderNode* parent) {
    InventoryNode* result = nullptr;
    dispatcher_.Call([&] {
        // Checked on the model's thread, where the tree changes, so the
        // answer cannot go stale before the insertion.
        FolderNode* target = parent && contains_(parent) ? parent : nullptr;
        result = insert_(target, std::move(node));
    });
    return result;
}

}  // namespace vn
