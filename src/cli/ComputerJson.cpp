#include "cli/ComputerJson.h"

#include "cli/InventoryPath.h"
#include "detect/ProductDef.h"

namespace vn::cli {

void WriteComputerFields(JsonObjectWriter& json, const ComputerRecord& computer) {
    std::vector<std::string> products;
    for (const ProductDef* product : computer.InstalledProducts)
        products.push_back(product->DisplayName);
    json.String("name", computer.Name)
        .StringOrNull("ip", computer.LastKnownIP != 0 ? std::optional(FormatIPv4(computer.LastKnownIP)) : std::nullopt)
        .String("os", computer.OSVersion)
        .String("description", computer.Description)
        .Bool("server", computer.IsServer != 0)
        .StringOrNull("error", computer.HasError != 0 ? std::optional(computer.ErrorString) : std::nullopt)
        .StringArray("products", products);
}

void WriteNodeLine(std::ostream& out, const InventoryModel& model, const InventoryNode& node) {
    JsonObjectWriter json(out);
    json.String("path", NodePath(model, node)).Bool("folder", node.IsFolder != 0);
    if (const auto* folder = dynamic_cast<const FolderNode*>(&node))
        json.Bool("expanded", model.IsExpanded(folder));
    else
        WriteComputerFields(json, static_cast<const ComputerRecord&>(node));
}

void WriteSubtreeLines(std::ostream& out, const InventoryModel& model, const InventoryNode& node) {
    WriteNodeLine(out, model, node);
    if (const auto* folder = dynamic_cast<const FolderNode*>(&node)) {
        for (const InventoryNode* child : model.ChildrenOf(folder))
            WriteSubtreeLines(out, model, *child);
    }
}

}  // namespace vn::cli
