#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Network.h"

namespace vn {

struct ProductDef;
struct FolderNode;

// A node of the inventory tree: a folder or a computer. The tree model owns
// every node in it and keeps its place in the tree.
struct InventoryNode {
    explicit InventoryNode(std::string name, int isFolder) : Name(std::move(name)), IsFolder(isFolder) {}
    virtual ~InventoryNode() = default;

    std::string Name;
    int IsFolder;

    // Tree links, kept by InventoryModel; empty while the node is outside the tree.
    FolderNode* Parent = nullptr;  // the model's hidden root for top-level nodes
    std::string ItemText;          // the label given when the node entered the tree
};

// The owned children of a folder. Plain pointers inside, so that inserting
// into a large folder moves them with one memmove in every build type.
class NodeList {
public:
    using const_iterator = std::vector<InventoryNode*>::const_iterator;

    NodeList() = default;
    ~NodeList();
    NodeList(const NodeList&) = delete;
    NodeList& operator=(const NodeList&) = delete;

    std::size_t size() const { return nodes_.size(); }
    bool empty() const { return nodes_.empty(); }
    const_iterator begin() const { return nodes_.begin(); }
    const_iterator end() const { return nodes_.end(); }
    InventoryNode* operator[](std::size_t index) const { return nodes_[index]; }
    InventoryNode* front() const { return nodes_.front(); }

    void insert(const_iterator position, std::unique_ptr<InventoryNode> node);
    void push_back(std::unique_ptr<InventoryNode> node) { insert(end(), std::move(node)); }
    std::unique_ptr<InventoryNode> Take(const_iterator position);
    std::vector<std::unique_ptr<InventoryNode>> TakeAll();

private:
    std::vector<InventoryNode*> nodes_;
};

struct FolderNode final : InventoryNode {
    explicit FolderNode(std::string name) : InventoryNode(std::move(name), 1) {}

    // Sorted: folders first, then computers, each by lower-cased name.
    NodeList Children;
    bool Expanded = false;
};

struct ComputerRecord final : InventoryNode {
    explicit ComputerRecord(std::string name) : InventoryNode(std::move(name), 0) {}
    // Named after the dotted address, LastKnownIP set.
    static std::unique_ptr<ComputerRecord> FromAddress(IPv4 address);

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
