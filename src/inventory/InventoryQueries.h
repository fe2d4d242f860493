#pragma once

#include <functional>
#include <vector>

#include "inventory/InventoryNode.h"

namespace vn {

class InventoryModel;

// Appends every computer below folder (null: the whole tree), depth first,
// in tree order.
void CollectComputers(const InventoryModel& model, const FolderNode* folder, std::vector<ComputerRecord*>& list);

// Appends, in tree order (parents before children), every node of the tree
// for which isSelected holds; the view answers from its own selection.
void CollectSelected(const InventoryModel& model, const std::function<bool(const InventoryNode&)>& isSelected,
                     std::vector<InventoryNode*>& list);

enum class SelectionKindResult { None, Mixed, AllFolders, AllComputers };

// What a selection is made of; None for an empty one.
SelectionKindResult SelectionKind(const std::vector<InventoryNode*>& selected);

// True when an installed product is a Windows service, which the remote
// service manager can control.
bool HasServiceProduct(const ComputerRecord& computer);

}  // namespace vn
