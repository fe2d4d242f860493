#include "inventory/InventoryWriter.h"

#include <string>
#include <unordered_set>

#include "detect/ProductDef.h"
#include "inventory/NameCompare.h"
#include "platform/RegistryValues.h"

namespace vn {

bool InventoryWriter::WriteSiblings(RegistryKey& parentKey, const NodeList& siblings) {
    // A folder and a computer of one name may be siblings in the tree, but
    // key names are unique: the computer would turn the folder's key into a
    // computer key and its subtree would never load again. The folder keeps
    // the key. Folders come first among siblings, so they are all known when
    // the computers are reached.
    std::unordered_set<std::string> folderNames;
    for (const InventoryNode* node : siblings) {
        if (!IsStorableKeyName(node->Name) || (!node->IsFolder && folderNames.count(NameKey(node->Name)) != 0)) {
            incomplete_ = true;
            continue;
        }
        if (node->IsFolder)
            folderNames.insert(NameKey(node->Name));
        if (!WriteNode(parentKey, *node))
            return false;
    }
    return true;
}

bool InventoryWriter::WriteNode(RegistryKey& parentKey, const InventoryNode& node) {
    RegistryKeyPtr key;
    if (parentKey.CreateKey(node.Name, KEY_ALL_ACCESS, key) != ERROR_SUCCESS)
        return false;
    if (SetDwordValue(*key, "", static_cast<std::uint32_t>(node.IsFolder)) != ERROR_SUCCESS)
        return false;
    if (const auto* folder = dynamic_cast<const FolderNode*>(&node))
        return WriteFolder(*key, *folder);
    return WriteComputer(*key, static_cast<const ComputerRecord&>(node));
}

bool InventoryWriter::WriteFolder(RegistryKey& key, const FolderNode& folder) {
    if (SetDwordValue(key, "Expanded", folder.Expanded ? 1 : 0) != ERROR_SUCCESS)
        return false;
    return WriteSiblings(key, folder.Children);
}

bool InventoryWriter::WriteComputer(RegistryKey& key, const ComputerRecord& computer) {
    const Status values[] = {
        SetStringValue(key, "Description", computer.Description),
        SetStringValue(key, "OSVersion", computer.OSVersion),
        SetStringValue(key, "ErrorString", computer.ErrorString),
        SetDwordValue(key, "LastKnownIP", computer.LastKnownIP),
        SetDwordValue(key, "IsServer", static_cast<std::uint32_t>(computer.IsServer)),
        SetDwordValue(key, "HasError", static_cast<std::uint32_t>(computer.HasError)),
    };
    for (Status status : values) {
        if (status != ERROR_SUCCESS)
            return false;
    }
    RegistryKeyPtr productsKey;
    if (key.CreateKey("Installed Products", KEY_ALL_ACCESS, productsKey) != ERROR_SUCCESS)
        return false;
    bool allWritten = true;
    for (const ProductDef* product : computer.InstalledProducts) {
        if (!IsStorableKeyName(product->DisplayName)) {
            incomplete_ = true;
            continue;
        }
        RegistryKeyPtr productKey;
        if (productsKey->CreateKey(product->DisplayName, KEY_ALL_ACCESS, productKey) != ERROR_SUCCESS)
            allWritten = false;
    }
    return allWritten;
}

}  // namespace vn
