#pragma once

#include <vector>

namespace vn {

struct InventoryNode;

// The two ways the window decides whether a command can be chosen.
//
// A menu item's state follows the selection (the marked nodes, tree order)
// and is set when its menu opens. A toolbar button's state follows the
// caret and the selection and is set at every change of either; the same
// state holds for the command outside menus (keyboard shortcuts).
using MenuRule = bool (*)(const std::vector<InventoryNode*>& selection);
using ButtonRule = bool (*)(const InventoryNode* caret, const std::vector<InventoryNode*>& selection);

// Remove: something is selected, and several only when all are computers.
bool OneNodeOrOnlyComputers(const std::vector<InventoryNode*>& selection);
// Rescan and Install: also with nothing selected (Rescan then opens the scan
// chooser, Install the wizard with no targets).
bool NoneOneNodeOrOnlyComputers(const std::vector<InventoryNode*>& selection);
// Rename: one folder alone.
bool OneFolder(const std::vector<InventoryNode*>& selection);

bool HasCaret(const InventoryNode* caret, const std::vector<InventoryNode*>& selection);
// The buttons of the commands that act on selected computers: Install needs
// one among the selection, the service manager exactly one computer alone
// (it refuses anything else).
bool SelectionHoldsComputer(const InventoryNode* caret, const std::vector<InventoryNode*>& selection);
bool OneComputerSelected(const InventoryNode* caret, const std::vector<InventoryNode*>& selection);
bool OneFolderSelected(const InventoryNode* caret, const std::vector<InventoryNode*>& selection);

}  // namespace vn
