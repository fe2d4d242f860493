#include "app/commands/EnableRules.h"

#include <algorithm>

#include "app/commands/SelectionJobs.h"
#include "inventory/InventoryNode.h"

namespace vn {

bool OneNodeOrOnlyComputers(const std::vector<InventoryNode*>& selection) {
    return selection.size() == 1 || (!selection.empty() && AllComputers(selection));
}

bool NoneOneNodeOrOnlyComputers(const std::vector<InventoryNode*>& selection) {
    return selection.size() <= 1 || AllComputers(selection);
}

bool OneFolder(const std::vector<InventoryNode*>& selection) {
    return selection.size() == 1 && selection.front()->IsFolder;
}

bool HasCaret(const InventoryNode* caret, const std::vector<InventoryNode*>&) { return caret != nullptr; }

bool SelectionHoldsComputer(const InventoryNode*, const std::vector<InventoryNode*>& selection) {
    return std::any_of(selection.begin(), selection.end(), [](const InventoryNode* node) { return !node->IsFolder; });
}

bool OneComputerSelected(const InventoryNode*, const std::vector<InventoryNode*>& selection) {
    return selection.size() == 1 && !selection.front()->IsFolder;
}

bool OneFolderSelected(const InventoryNode*, const std::vector<InventoryNode*>& selection) {
    return OneFolder(selection);
}

}  // namespace vn
