#pragma once

#include <vector>

namespace vn {

struct InventoryNode;

// The context menu (a vn::menu id) for the items that were marked when the
// menu was asked for, or 0 when none is shown: nothing marked, or folders and
// computers mixed. underCursor is the item under the mouse (null from the
// keyboard or over empty space); it tells a single computer's full menu from
// the short one of a computer that could not be examined.
int ChooseContextMenu(const std::vector<InventoryNode*>& marked, const InventoryNode* underCursor);

}  // namespace vn
