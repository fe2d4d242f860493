#pragma once

#include <QString>
#include <optional>

namespace vn {

struct InventoryNode;

// The short report a computer's item shows as its tool tip.
struct ComputerReport {
    QString Title;         // the computer's name
    bool IsError = false;  // shown with the error icon, else the information icon
    QString Text;          // lines end with "\r\n"
};

// The report of a computer; none for a folder.
std::optional<ComputerReport> MakeComputerReport(const InventoryNode& node);

}  // namespace vn
