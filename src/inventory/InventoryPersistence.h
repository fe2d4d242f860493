#pragma once

#include <string_view>

namespace vn {

class InventoryModel;
class ProductCatalogue;
class Registry;

// Where the tree is kept in the current user's hive: one key per node, named
// by the node, nested like the tree.
inline constexpr std::string_view kInventoryRootKey = "Software\\Vantor Netwarden\\Predefined hosts";

// Replaces the stored tree with the model's tree. The replacement is one
// write group: when any write fails nothing is committed and the tree stored
// before stays whole. Nodes whose names cannot be key names (empty, holding a
// backslash, longer than 255 bytes) and computers that share their key with a
// sibling folder of the same name are left out; the rest is still committed.
// True when every node was written.
bool SaveInventory(const InventoryModel& model, Registry& registry);

// Reads the stored tree into the model through InsertNode, so stored
// duplicates merge as at run time. Products the catalogue does not know are
// dropped. Stops at the first node that cannot be read, keeping what was
// inserted so far. True when every stored node was read; false also when no
// tree is stored.
bool LoadInventory(InventoryModel& model, Registry& registry, const ProductCatalogue& catalogue);

}  // namespace vn
