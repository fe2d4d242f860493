#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Registry.h"
#include "platform/RegistryTreeVisitor.h"

namespace vn {

class InventoryModel;
class ProductCatalogue;
struct ComputerRecord;
struct FolderNode;
struct ProductDef;

// Reads stored nodes below a registry key into the model, one sub-key per
// node, and inserts them through InsertNode. The keys are read in one pass
// (RegistryKey::VisitSubKeys) and become nodes as they arrive.
class InventoryReader : private RegistryTreeVisitor {
public:
    InventoryReader(InventoryModel& model, const ProductCatalogue& catalogue);

    // Loads the nodes stored below key into parent (null: the top level).
    // False when a node could not be read; the walk stops there.
    bool ReadChildren(RegistryKey& key, FolderNode* parent);

private:
    // What a key that has begun and not yet ended stands for.
    struct OpenKey {
        enum class Role { Node, Products, Product, Ignored };
        Role role = Role::Node;
        // A node: read as a computer until its kind says folder.
        std::unique_ptr<ComputerRecord> computer;
        FolderNode* folder = nullptr;  // once known to be a folder and inserted
        bool settled = false;          // its kind has been read
        bool kindRead = false;
        std::uint32_t kind = 0;
        std::uint32_t expanded = 0;
    };

    void BeginKey(std::string_view name) override;
    void Value(std::size_t nameIndex, std::uint32_t type, std::span<const std::uint8_t> data) override;
    void EndKey() override;

    // Decides a node's kind once its values are in: a folder is inserted
    // then, before its children.
    void Settle(OpenKey& key);
    // The folder new nodes go to: the innermost open folder, else the top.
    FolderNode* CurrentFolder() const;
    void AddProduct(std::string_view name);
    void SortProducts(ComputerRecord& computer) const;

    InventoryModel& model_;
    const ProductCatalogue& catalogue_;
    std::unordered_map<const ProductDef*, std::size_t> catalogueOrder_;
    FolderNode* top_ = nullptr;
    std::vector<OpenKey> open_;
    bool failed_ = false;
};

}  // namespace vn
