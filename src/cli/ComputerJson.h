#pragma once

#include <ostream>

#include "cli/JsonWriter.h"
#include "inventory/InventoryModel.h"

namespace vn::cli {

// The fields of an examined computer: "name", "ip" (dotted, or null),
// "os", "description" ("" when unknown), "server", "error" (null when it
// could be examined) and "products" (display names in catalogue order).
void WriteComputerFields(JsonObjectWriter& json, const ComputerRecord& computer);

// One node of the tree as a line: "path" and "folder", then "expanded" for a
// folder or the computer's fields.
void WriteNodeLine(std::ostream& out, const InventoryModel& model, const InventoryNode& node);

// The same for the node and everything below it, in tree order.
void WriteSubtreeLines(std::ostream& out, const InventoryModel& model, const InventoryNode& node);

}  // namespace vn::cli
