#include "inventory/InventoryWriter.h"

#include <string>
#include <unordered_set>

#include "catalogue/ProductDef.h"
#include "inventory/NameCompare.h"
#include "platform/Registry.h"

namespace vn {

std::vector<RegistryTree> InventoryWriter::KeysOf(const NodeList& siblings) {
    // A folder and a computer of one name may be siblings in the tree, but
    // key names are unique: the computer would turn the folder's key into a
    // computer key and its subtree would never load again. The folder keeps
    // the key. Folders come first among siblings, so they are all known when
    // the computers are reached.
    std::vector<RegistryTree> keys;
    keys.reserve(siblings.size());
    std::unordered_set<std::string> folderNames;
    for (const InventoryNode* node : siblings) {
        if (!IsStorableKeyName(node->Name) ||
            (!node->IsFolder && !folderNames.empty() && folderNames.count(NameKey(node->Name)) != 0)) {
            incomplete_ = true;
            continue;
        }
        if (const auto* folder = dynamic_cast<const FolderNode*>(node)) {
            folderNames.insert(NameKey(node->Name));
            keys.push_back(FolderKey(*folder));
        } else {
            keys.push_back(ComputerKey(static_cast<const ComputerRecord&>(*node)));
        }
    }
    return keys;
}

RegistryTree InventoryWriter::FolderKey(const FolderNode& folder) {
    RegistryTree key{folder.Name, {}, KeysOf(folder.Children)};
    key.AddDword("", 1);
    key.AddDword("Expanded", folder.Expanded ? 1 : 0);
    return key;
}

RegistryTree InventoryWriter::ComputerKey(const ComputerRecord& computer) {
    RegistryTree key{computer.Name, {}, {}};
    key.Values.reserve(7);
    key.AddDword("", 0);
    key.AddString("Description", computer.Description);
    key.AddString("OSVersion", computer.OSVersion);
    key.AddString("ErrorString", computer.ErrorString);
    key.AddDword("LastKnownIP", computer.LastKnownIP);
    key.AddDword("IsServer", static_cast<std::uint32_t>(computer.IsServer));
    key.AddDword("HasError", static_cast<std::uint32_t>(computer.HasError));
    RegistryTree& products = key.SubKeys.emplace_back(RegistryTree{"Installed Products", {}, {}});
    for (const ProductDef* product : computer.InstalledProducts) {
        if (IsStorableKeyName(product->DisplayName))
            products.SubKeys.push_back({product->DisplayName, {}, {}});
        else
            incomplete_ = true;
    }
    return key;
}

}  // namespace vn
