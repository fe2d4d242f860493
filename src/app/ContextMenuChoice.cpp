#include "app/ContextMenuChoice.h"

#include "app/context/CommandIds.h"
#include "inventory/InventoryNode.h"
#include "inventory/InventoryQueries.h"

namespace vn {
namespace {

bool HasErrorText(const InventoryNode& node) {
    const auto* computer = dynamic_cast<const ComputerRecord*>(&node);
    return computer != nullptr && !computer->ErrorString.empty();
}

}  // namespace

int ChooseContextMenu(const std::vector<InventoryNode*>& marked, const InventoryNode* underCursor) {
    if (marked.empty())
        return 0;
    if (marked.size() == 1) {
        if (marked.front()->IsFolder)
            return menu::kSingleFolder;
        return underCursor != nullptr && !HasErrorText(*underCursor) ? menu::kSingleComputer
                                                                     : menu::kSingleFailedComputer;
    }
    switch (SelectionKind(marked)) {
    case SelectionKindResult::AllComputers: return menu::kSeveralComputers;
    case SelectionKindResult::AllFolders: return menu::kSeveralFolders;
    default: return 0;
    }
}

}  // namespace vn
