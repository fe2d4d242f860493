#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Network.h"

namespace vn {

struct ProductDef;

// A node of the inventory tree: a folder or a computer. The tree model owns
// every node in it and keeps its place in the tree.
struct InventoryNode {
    explicit InventoryNode(std::string name, int isFolder) : Name(std::move(name)), IsFolder(isFolder) {}
    virtual ~InventoryNode() = default;

    std::string Name;
    int IsFolder;
};

struct FolderNode final : InventoryNode {
    explicit FolderNode(std::string name) : InventoryNode(std::move(name), 1) {}
};

struct ComputerRecord final : InventoryNode {
    explicit ComputerRecord(std::string name) : InventoryNode(std::move(name), 0) {}
    // Named after the dotted address, LastKnownIP set.
    static ComputerRecord FromAddress(IPv4 address);

    // Takes every field of other but its place in the tree.
    void CopyFrom(const ComputerRecord& other);

    std::string OSVersion;
    std::string Description;
    std::string ErrorString;
    int HasError = 0;
    int IsServer = 0;
    IPv4 LastKnownIP = 0;
    std::vector<const ProductDef*> InstalledProducts;  // catalogue order; owned by the catalogue
};

}  // namespace vn
