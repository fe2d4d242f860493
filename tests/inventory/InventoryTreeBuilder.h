#pragma once

#include <memory>
#include <string>
#include <vector>

#include "catalogue/ProductDef.h"
#include "inventory/InventoryModel.h"

namespace vn::test {

// Short hands for building inventory trees in tests.
inline FolderNode* AddFolder(InventoryModel& model, FolderNode* parent, const std::string& name) {
    return static_cast<FolderNode*>(model.InsertNode(parent, std::make_unique<FolderNode>(name), false));
}

inline ComputerRecord* AddComputer(InventoryModel& model, FolderNode* parent, const std::string& name,
                                   std::vector<const ProductDef*> products = {}) {
    auto computer = std::make_unique<ComputerRecord>(name);
    computer->InstalledProducts = std::move(products);
    return static_cast<ComputerRecord*>(model.InsertNode(parent, std::move(computer), false));
}

// The item texts of a folder's children (null: the top level), in tree order.
inline std::vector<std::string> ChildTexts(const InventoryModel& model, const FolderNode* folder) {
    std::vector<std::string> texts;
    for (const InventoryNode* child : model.ChildrenOf(folder))
        texts.push_back(child->ItemText);
    return texts;
}

inline ProductDef MakeProduct(std::string name, std::string servicePath) {
    ProductDef product;
    product.DisplayName = name;
    product.ServiceName = std::move(name);
    product.ServicePath = std::move(servicePath);
    return product;
}

}  // namespace vn::test
