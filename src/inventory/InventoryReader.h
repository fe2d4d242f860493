#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Registry.h"

namespace vn {

class InventoryModel;
class ProductCatalogue;
struct ComputerRecord;
struct FolderNode;
struct ProductDef;

// Reads stored nodes below a registry key into the model, one sub-key per
// node, and inserts them through InsertNode. The keys are read in one pass
// (RegistryKey::ReadSubKeys).
class InventoryReader {
public:
    InventoryReader(InventoryModel& model, const ProductCatalogue& catalogue);

    // Loads the nodes stored below key into parent (null: the top level).
    // False when a node could not be read; the walk stops there.
    bool ReadChildren(RegistryKey& key, FolderNode* parent);

private:
    // False when a node's kind cannot be read; the walk stops there.
    bool InsertKeys(const std::vector<RegistryTree>& keys, FolderNode* parent);
    std::unique_ptr<ComputerRecord> ReadComputer(const RegistryTree& key) const;
    void ReadProducts(const RegistryTree& key, ComputerRecord& computer) const;

    InventoryModel& model_;
    const ProductCatalogue& catalogue_;
    std::unordered_map<const ProductDef*, std::size_t> catalogueOrder_;
};

}  // namespace vn
