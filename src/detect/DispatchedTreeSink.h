#pragma once

#include <functional>
#include <memory>

#include "core/BlockingCallDispatcher.h"
#include "detect/TreeSink.h"

namespace vn {

// A TreeSink for workers: the insertion runs on the tree model's thread
// while the worker waits. A job names its parent folders by pointer, and a
// folder may be moved (deleted and re-created) while a scan runs; a parent
// that is no longer in the tree is replaced by the top level, so the result
// is neither lost nor inserted under a freed node.
class DispatchedTreeSink final : public TreeSink {
public:
    // Inserts node under parent (null: top level) with ensure-visible set and
    // gives the node now in the tree.
    using InsertFunction = std::function<InventoryNode*(FolderNode* parent, std::unique_ptr<InventoryNode> node)>;
    // Whether the node is still in the tree.
    using ContainsFunction = std::function<bool(const InventoryNode* node)>;

    DispatchedTreeSink(BlockingCallDispatcher dispatcher, InsertFunction insert, ContainsFunction contains)
        : dispatcher_(std::move(dispatcher)),
          insert_(std::move(insert)),
          contains_(std::move(contains)) {}

    InventoryNode* AddNode(std::unique_ptr<InventoryNode> node, FolderNode* parent) override;

private:
    BlockingCallDispatcher dispatcher_;
    InsertFunction insert_;
    ContainsFunction contains_;
};

}  // namespace vn
