#pragma once

#include <memory>
#include <vector>

#include "inventory/InventoryNode.h"
#include "platform/Registry.h"

namespace vn {

// Writes nodes below a registry key, one sub-key per node, nested like the
// tree. A write that fails ends the walk (the caller then drops the whole
// write group); a node the registry cannot hold is skipped and remembered.
class InventoryWriter {
public:
    // False when a write failed.
    bool WriteSiblings(RegistryKey& parentKey, const NodeList& siblings);

    // Whether a node or product was left out because its name cannot be stored.
    bool Incomplete() const { return incomplete_; }

private:
    bool WriteNode(RegistryKey& parentKey, const InventoryNode& node);
    bool WriteFolder(RegistryKey& key, const FolderNode& folder);
    bool WriteComputer(RegistryKey& key, const ComputerRecord& computer);

    bool incomplete_ = false;
};

}  // namespace vn
