#include "inventory/NodeImage.h"

#include "inventory/InventoryNode.h"

namespace vn {

NodeImageIndex NodeImage(const InventoryNode& node) {
    const auto* computer = dynamic_cast<const ComputerRecord*>(&node);
    if (computer == nullptr)
        return FolderImage;
    if (computer->HasError == 0)
        return computer->IsServer ? ServerImage : WorkstationImage;
    // The error texts are the system's English messages; "Access" marks the refusals.
    return computer->ErrorString.find("Access") != std::string::npos ? AccessDeniedImage : ErrorImage;
}

}  // namespace vn
