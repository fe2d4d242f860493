#pragma once

#include <memory>

#include "inventory/InventoryNode.h"

namespace vn {

// Where scans hand their results: the node is inserted into the inventory
// tree under parent (null: the top level), on the tree's own thread, and the
// node that now stands in the tree is returned (the given one, or the existing
// node it was merged into). The tree owns the node in every case.
class TreeSink {
public:
    virtual ~TreeSink() = default;
    virtual InventoryNode* AddNode(std::unique_ptr<InventoryNode> node, FolderNode* parent) = 0;
};

}  // namespace vn
