#pragma once

namespace vn {

class InventoryModel;
class ProductCatalogue;
struct ComputerRecord;
struct FolderNode;

// A small made-up network in the inventory tree, built in memory: folders,
// workstations and servers with products found on them, and computers that
// could not be examined. Nothing is probed.
struct SampleInventory {
    FolderNode* headOffice = nullptr;  // the folder whose statistics are shown
    FolderNode* servers = nullptr;
    ComputerRecord* workstation = nullptr;  // several products
    ComputerRecord* server = nullptr;
    ComputerRecord* accessDenied = nullptr;

    // Fills model; products are taken from catalogue by name, those it does
    // not hold are left out.
    static SampleInventory Build(InventoryModel& model, const ProductCatalogue& catalogue);
};

}  // namespace vn
