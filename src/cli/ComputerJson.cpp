#include "cli/ComputerJson.h"

#include "catalogue/ProductDef.h"
#include "cli/InventoryPath.h"

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

namespace {

void WriteLine(std::ostream& out, const InventoryModel& model, const InventoryNode& node, std::string_view path,
               JsonObjectWriter::LineEnd end) {
    JsonObjectWriter json(out, end);
    json.String("path", path).Bool("folder", node.IsFolder != 0);
    if (const auto* folder = dynamic_cast<const FolderNode*>(&node))
        json.Bool("expanded", model.IsExpanded(folder));
    else
        WriteComputerFields(json, static_cast<const ComputerRecord&>(node));
}

// path: the node's own, grown and shrunk again for each child.
void WriteLinesBelow(std::ostream& out, const InventoryModel& model, const InventoryNode& node, std::string& path) {
    WriteLine(out, model, node, path, JsonObjectWriter::LineEnd::Buffer);
    if (const auto* folder = dynamic_cast<const FolderNode*>(&node)) {
        for (const InventoryNode* child : model.ChildrenOf(folder)) {
            const std::size_t size = path.size();
            path += '/';
            path += child->Name;
            WriteLinesBelow(out, model, *child, path);
            path.resize(size);
        }
    }
}

}  // namespace

void WriteNodeLine(std::ostream& out, const InventoryModel& model, const InventoryNode& node) {
    WriteLine(out, model, node, NodePath(model, node), JsonObjectWriter::LineEnd::Flush);
}

void WriteSubtreeLines(std::ostream& out, const InventoryModel& model, const InventoryNode& node) {
    std::string path = NodePath(model, node);
    WriteLinesBelow(out, model, node, path);
    out.flush();
}

}  // namespace vn::cli
