#include "discovery/EraseInventory.h"

#include "inventory/InventoryModel.h"

namespace vn {

void EraseInventory(InventoryModel& model) {
    const NodeList& topLevel = model.ChildrenOf(nullptr);
    while (!topLevel.empty())
        model.DeleteSubtree(topLevel.front());
}

}  // namespace vn
