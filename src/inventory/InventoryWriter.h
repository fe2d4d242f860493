#pragma once

#include <string>
#include <vector>

#include "inventory/InventoryNode.h"
#include "platform/RegistryTree.h"

namespace vn {

// The stored form of tree nodes: one registry key per node, nested like the
// tree, written in one pass (RegistryKey::WriteSubKeys). A node the registry
// cannot hold is left out and remembered.
class InventoryWriter {
public:
    std::vector<RegistryTree> KeysOf(const NodeList& siblings) { return KeysOf(siblings, {}); }

    // Whether a node or product was left out because its name cannot be stored.
    bool Incomplete() const { return !leftOut_.empty(); }
    // One text for each node or product left out: which, where and why.
    const std::vector<std::string>& LeftOut() const { return leftOut_; }

private:
    // where: the path of the siblings' folder ("A/B"), empty at the top.
    std::vector<RegistryTree> KeysOf(const NodeList& siblings, const std::string& where);
    RegistryTree FolderKey(const FolderNode& folder, const std::string& where);
    RegistryTree ComputerKey(const ComputerRecord& computer, const std::string& where);
    void LeaveOut(std::string what, const std::string& where, const std::string& why);

    std::vector<std::string> leftOut_;
};

}  // namespace vn
