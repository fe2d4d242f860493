#include "inventory/InventoryReader.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "detect/ProductCatalogue.h"
#include "inventory/InventoryModel.h"
#include "platform/RegistryValues.h"

namespace vn {

InventoryReader::InventoryReader(InventoryModel& model, const ProductCatalogue& catalogue)
    : model_(model),
      catalogue_(catalogue) {
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        catalogueOrder_.emplace(&catalogue.at(i), i);
}

bool InventoryReader::ReadChildren(RegistryKey& key, FolderNode* parent) {
    // All names in one pass: a folder of many thousand computers would
    // otherwise cost one look-up per index.
    std::vector<std::string> names;
    if (key.EnumKeys(names) != ERROR_SUCCESS)
        return false;
    for (const std::string& name : names) {
        if (!ReadNode(key, name, parent))
            return false;
    }
    return true;
}

bool InventoryReader::ReadNode(RegistryKey& parentKey, const std::string& name, FolderNode* parent) {
    RegistryKeyPtr key;
    if (parentKey.OpenKey(name, KEY_READ, key) != ERROR_SUCCESS)
        return false;
    // The node kind: up to 4 bytes of any type; a longer value is refused by the hive.
    std::uint8_t kindBytes[4] = {};
    std::uint32_t size = sizeof kindBytes;
    if (key->QueryValue("", nullptr, kindBytes, &size) != ERROR_SUCCESS)
        return false;
    std::uint32_t kind = 0;
    std::memcpy(&kind, kindBytes, sizeof kind);

    if (kind != 1) {
        model_.InsertNode(parent, ReadComputer(*key, name), false);
        return true;
    }
    std::uint32_t expanded = 0;
    (void)QueryDwordValue(*key, "Expanded", expanded);  // missing: collapsed
    auto* folder = static_cast<FolderNode*>(model_.InsertNode(parent, std::make_unique<FolderNode>(name), true));
    if (!ReadChildren(*key, folder))
        return false;
    if (expanded == 1)
        model_.SetExpanded(folder, true);
    return true;
}

std::unique_ptr<ComputerRecord> InventoryReader::ReadComputer(RegistryKey& key, const std::string& name) const {
    auto computer = std::make_unique<ComputerRecord>(name);
    // A value that is missing or of another type leaves the field at its initial value.
    (void)QueryStringValue(key, "ErrorString", computer->ErrorString, REG_SZ);
    (void)QueryStringValue(key, "Description", computer->Description, REG_SZ);
    (void)QueryStringValue(key, "OSVersion", computer->OSVersion, REG_SZ);
    std::uint32_t number = 0;
    if (QueryDwordValue(key, "IsServer", number, REG_DWORD) == ERROR_SUCCESS)
        computer->IsServer = static_cast<int>(number);
    if (QueryDwordValue(key, "LastKnownIP", number, REG_DWORD) == ERROR_SUCCESS)
        computer->LastKnownIP = number;
    if (QueryDwordValue(key, "HasError", number, REG_DWORD) == ERROR_SUCCESS)
        computer->HasError = static_cast<int>(number);
    ReadProducts(key, *computer);
    return computer;
}

void InventoryReader::ReadProducts(RegistryKey& key, ComputerRecord& computer) const {
    RegistryKeyPtr productsKey;
    if (key.OpenKey("Installed Products", KEY_READ, productsKey) != ERROR_SUCCESS)
        return;
    auto& products = computer.InstalledProducts;
    std::vector<std::string> names;
    productsKey->EnumKeys(names);  // what could be read
    for (const std::string& name : names) {
        // Products the catalogue no longer provides are dropped.
        const ProductDef* product = catalogue_.FindByName(name);
        if (product != nullptr && std::find(products.begin(), products.end(), product) == products.end())
            products.push_back(product);
    }
    // The hive enumerates by name; the record keeps catalogue order.
    std::sort(products.begin(), products.end(), [this](const ProductDef* a, const ProductDef* b) {
        return catalogueOrder_.at(a) < catalogueOrder_.at(b);
    });
}

}  // namespace vn
