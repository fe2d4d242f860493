#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/Registry.h"

namespace vn {

class InventoryModel;
class ProductCatalogue;
struct ComputerRecord;
struct FolderNode;
struct ProductDef;

// Reads stored nodes below a registry key into the model, one sub-key per
// node, and inserts them through InsertNode.
class InventoryReader {
public:
    InventoryReader(InventoryModel& model, const ProductCatalogue& catalogue);

    // Loads the nodes stored below key into parent (null: the top level).
    // False when a node could not be read; the walk stops there.
    bool ReadChildren(RegistryKey& key, FolderNode* parent);

private:
    bool ReadNode(RegistryKey& parentKey, const std::string& name, FolderNode* parent);
    std::unique_ptr<ComputerRecord> ReadComputer(RegistryKey& key, const std::string& name) const;
    void ReadProducts(RegistryKey& key, ComputerRecord& computer) const;

    InventoryModel& model_;
    const ProductCatalogue& catalogue_;
    std::unordered_map<const ProductDef*, std::size_t> catalogueOrder_;
};

}  // namespace vn
