#include "inventory/InventoryNode.h"

namespace vn {

NodeList::~NodeList() {
    for (InventoryNode* node : nodes_)
        delete node;
}

void NodeList::insert(const_iterator position, std::unique_ptr<InventoryNode> node) {
    nodes_.insert(position, node.get());  // may throw; node is still owned until here
    (void)node.release();                 // the list owns it now
}

std::unique_ptr<InventoryNode> NodeList::Take(const_iterator position) {
    std::unique_ptr<InventoryNode> node(*position);
    nodes_.erase(position);
    return node;
}

std::vector<std::unique_ptr<InventoryNode>> NodeList::TakeAll() {
    std::vector<std::unique_ptr<InventoryNode>> all;
    all.reserve(nodes_.size());
    for (InventoryNode* node : nodes_)
        all.emplace_back(node);
    nodes_.clear();
    return all;
}

std::unique_ptr<ComputerRecord> ComputerRecord::FromAddress(IPv4 address) {
    auto record = std::make_unique<ComputerRecord>(FormatIPv4(address));
    record->LastKnownIP = address;
    return record;
}

void ComputerRecord::CopyFrom(const ComputerRecord& other) {
    IsFolder = other.IsFolder;
    Name = other.Name;
    OSVersion = other.OSVersion;
    Description = other.Description;
    ErrorString = other.ErrorString;
    HasError = other.HasError;
    IsServer = other.IsServer;
    LastKnownIP = other.LastKnownIP;
    InstalledProducts = other.InstalledProducts;
}

}  // namespace vn
