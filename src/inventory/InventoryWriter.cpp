#include "inventory/InventoryWriter.h"

#include <string>
#include <unordered_set>

#include "catalogue/ProductDef.h"
#include "inventory/NameCompare.h"
#include "inventory/NameRules.h"

namespace vn {
namespace {

std::string Description(const InventoryNode& node) {
    return node.IsFolder ? "the folder \"" + node.Name + "\" and everything in it"
                         : "the computer \"" + node.Name + "\"";
}

}  // namespace

std::vector<RegistryTree> InventoryWriter::KeysOf(const NodeList& siblings, const std::string& where) {
    // A folder and a computer of one name may be siblings in the tree, but
    // key names are unique: the computer would turn the folder's key into a
    // computer key and its subtree would never load again. The folder keeps
    // the key. Folders come first among siblings, so they are all known when
    // the computers are reached.
    std::vector<RegistryTree> keys;
    keys.reserve(siblings.size());
    std::unordered_set<std::string> folderNames;
    for (const InventoryNode* node : siblings) {
        if (const std::string problem = StoredNameProblem(node->Name); !problem.empty()) {
            LeaveOut(Description(*node), where, problem);
            continue;
        }
        if (!node->IsFolder && !folderNames.empty() && folderNames.count(NameKey(node->Name)) != 0) {
            LeaveOut(Description(*node), where, "the folder of that name beside it keeps the name");
            continue;
        }
        if (const auto* folder = dynamic_cast<const FolderNode*>(node)) {
            folderNames.insert(NameKey(node->Name));
            keys.push_back(FolderKey(*folder, where));
        } else {
            keys.push_back(ComputerKey(static_cast<const ComputerRecord&>(*node), where));
        }
    }
    return keys;
}

RegistryTree InventoryWriter::FolderKey(const FolderNode& folder, const std::string& where) {
    RegistryTree key{folder.Name, {}, KeysOf(folder.Children, where.empty() ? folder.Name : where + "/" + folder.Name)};
    key.AddDword("", 1);
    key.AddDword("Expanded", folder.Expanded ? 1 : 0);
    return key;
}

RegistryTree InventoryWriter::ComputerKey(const ComputerRecord& computer, const std::string& where) {
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
        if (const std::string problem = StoredNameProblem(product->DisplayName); problem.empty())
            products.SubKeys.push_back({product->DisplayName, {}, {}});
        else
            LeaveOut("the product \"" + product->DisplayName + "\" of the computer \"" + computer.Name + "\"", where,
                     problem);
    }
    return key;
}

void InventoryWriter::LeaveOut(std::string what, const std::string& where, const std::string& why) {
    if (!where.empty())
        what += " in \"" + where + "\"";
    leftOut_.push_back(what + ": " + why);
}

}  // namespace vn
