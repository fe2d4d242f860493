#include "app/commands/EnableRules.h"

#include "app/commands/SelectionJobs.h"
#include "inventory/InventoryNode.h"

namespace vn {

bool OneNodeOrOnlyComputers(const std::vector<InventoryNode*>& selection) {
    return selection.size() == 1 || (!selection.empty() && AllComputers(selection));
}

bool NoneOneNodeOrOnlyComputers(const std::vector<InventoryNode*>& selection) {
    return selection.size() <= 1 || AllComputers(selection);
}

bool HasCaret(const InventoryNode* caret) { return caret != nullptr; }

bool CaretIsComputer(const InventoryNode* caret) { return caret != nullptr && !caret->IsFolder; }

}  // namespace vn
