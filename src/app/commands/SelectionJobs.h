#pragma once

#include <string>
#include <vector>

#include "detect/ComputerScanJob.h"
#include "inventory/InventoryNode.h"

namespace vn {

class InventoryModel;

// The scan entries of a rescan of the selection (tree order): a computer
// gives itself, a folder every computer below it at any depth, each with its
// own parent folder. A computer both selected and below a selected folder
// comes twice.
std::vector<ScanEntry> RescanEntries(const InventoryModel& model, const std::vector<InventoryNode*>& selection);

// One entry per name, all in folder (null: the top level), in order.
std::vector<ScanEntry> EntriesInFolder(const std::vector<std::string>& names, FolderNode* folder);

// Deletes each selected node with its subtree; a node below another selected
// node goes with that node's subtree. Nodes no longer in the tree are passed
// over.
void RemoveSelectedNodes(InventoryModel& model, const std::vector<InventoryNode*>& selection);

// Whether the selection consists of computers only (true for none).
bool AllComputers(const std::vector<InventoryNode*>& selection);

}  // namespace vn
