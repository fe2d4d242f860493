#pragma once

namespace vn {

class InventoryModel;

// Empties the whole tree, as "Erase the previous scan's results" does before
// a network scan.
void EraseInventory(InventoryModel& model);

}  // namespace vn
