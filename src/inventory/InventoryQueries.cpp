#include "inventory/InventoryQueries.h"

#include <algorithm>

#include "catalogue/ProductDef.h"
#include "inventory/InventoryModel.h"

namespace vn {

void CollectComputers(const InventoryModel& model, const FolderNode* folder, std::vector<ComputerRecord*>& list) {
    for (InventoryNode* child : model.ChildrenOf(folder)) {
        if (const auto* subFolder = dynamic_cast<const FolderNode*>(child))
            CollectComputers(model, subFolder, list);
        else
            list.push_back(static_cast<ComputerRecord*>(child));
    }
}

namespace {

void CollectSelectedBelow(const InventoryModel& model, const FolderNode* folder,
                          const std::function<bool(const InventoryNode&)>& isSelected,
                          std::vector<InventoryNode*>& list) {
    for (InventoryNode* child : model.ChildrenOf(folder)) {
        if (isSelected(*child))
            list.push_back(child);
        if (const auto* subFolder = dynamic_cast<const FolderNode*>(child))
            CollectSelectedBelow(model, subFolder, isSelected, list);
    }
}

}  // namespace

void CollectSelected(const InventoryModel& model, const std::function<bool(const InventoryNode&)>& isSelected,
                     std::vector<InventoryNode*>& list) {
    CollectSelectedBelow(model, nullptr, isSelected, list);
}

SelectionKindResult SelectionKind(const std::vector<InventoryNode*>& selected) {
    if (selected.empty())
        return SelectionKindResult::None;
    const bool firstIsFolder = selected.front()->IsFolder != 0;
    const bool allSame = std::all_of(selected.begin(), selected.end(),
                                     [&](const InventoryNode* node) { return (node->IsFolder != 0) == firstIsFolder; });
    if (!allSame)
        return SelectionKindResult::Mixed;
    return firstIsFolder ? SelectionKindResult::AllFolders : SelectionKindResult::AllComputers;
}

bool HasServiceProduct(const ComputerRecord& computer) {
    return std::any_of(computer.InstalledProducts.begin(), computer.InstalledProducts.end(),
                       [](const ProductDef* product) {
                           return product->ServicePath.find("System\\CurrentControlSet\\Services") != std::string::npos;
                       });
}

}  // namespace vn
