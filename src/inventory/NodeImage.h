#pragma once

namespace vn {

struct InventoryNode;

// Indices into the tree's picture list, in the list's order.
enum NodeImageIndex : int {
    FolderImage = 0,
    WorkstationImage = 1,
    ServerImage = 2,
    ErrorImage = 3,
    AccessDeniedImage = 4,
};

// The picture of a node: a folder, a reachable workstation or server, or a
// computer whose last probe failed (access denied when its error text says so).
NodeImageIndex NodeImage(const InventoryNode& node);

}  // namespace vn
