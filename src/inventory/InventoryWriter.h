#pragma once

#include <vector>

#include "inventory/InventoryNode.h"
#include "platform/RegistryTree.h"

namespace vn {

// The stored form of tree nodes: one registry key per node, nested like the
// tree, written in one pass (RegistryKey::WriteSubKeys). A node the registry
// cannot hold is left out and remembered.
class InventoryWriter {
public:
    std::vector<RegistryTree> KeysOf(const NodeList& siblings);

    // Whether a node or product was left out because its name cannot be stored.
    bool Incomplete() const { return incomplete_; }

private:
    RegistryTree FolderKey(const FolderNode& folder);
    RegistryTree ComputerKey(const ComputerRecord& computer);

    bool incomplete_ = false;
};

}  // namespace vn
