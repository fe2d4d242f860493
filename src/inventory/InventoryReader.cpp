#include "inventory/InventoryReader.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "detect/ProductCatalogue.h"
#include "inventory/InventoryModel.h"
#include "platform/NameFolding.h"

namespace vn {

InventoryReader::InventoryReader(InventoryModel& model, const ProductCatalogue& catalogue)
    : model_(model),
      catalogue_(catalogue) {
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        catalogueOrder_.emplace(&catalogue.at(i), i);
}

namespace {

// Every value a stored folder or computer has.
const std::vector<std::string> kStoredValues = {"", "Expanded", "ErrorString", "Description", "OSVersion",
                                                "IsServer", "LastKnownIP", "HasError"};

}  // namespace

bool InventoryReader::ReadChildren(RegistryKey& key, FolderNode* parent) {
    std::vector<RegistryTree> keys;
    const Status status = key.ReadSubKeys(kStoredValues, keys);
    // What was read before a failure is still shown.
    return InsertKeys(keys, parent) && status == ERROR_SUCCESS;
}

bool InventoryReader::InsertKeys(const std::vector<RegistryTree>& keys, FolderNode* parent) {
    for (const RegistryTree& key : keys) {
        // The node kind: up to 4 bytes of any type.
        const RegistryTreeValue* kindValue = key.FindValue("");
        if (kindValue == nullptr || kindValue->Data.size() > 4)
            return false;
        std::uint32_t kind = 0;
        std::memcpy(&kind, kindValue->Data.data(), kindValue->Data.size());
        if (kind != 1) {
            model_.InsertNode(parent, ReadComputer(key), false);
            continue;
        }
        std::uint32_t expanded = 0;
        (void)key.Dword("Expanded", expanded);  // missing: collapsed
        auto* folder =
            static_cast<FolderNode*>(model_.InsertNode(parent, std::make_unique<FolderNode>(key.Name), true));
        if (!InsertKeys(key.SubKeys, folder))
            return false;
        if (expanded == 1)
            model_.SetExpanded(folder, true);
    }
    return true;
}

std::unique_ptr<ComputerRecord> InventoryReader::ReadComputer(const RegistryTree& key) const {
    auto computer = std::make_unique<ComputerRecord>(key.Name);
    // A value that is missing or of another type leaves the field at its initial value.
    (void)key.String("ErrorString", computer->ErrorString, REG_SZ);
    (void)key.String("Description", computer->Description, REG_SZ);
    (void)key.String("OSVersion", computer->OSVersion, REG_SZ);
    std::uint32_t number = 0;
    if (key.Dword("IsServer", number, REG_DWORD) == ERROR_SUCCESS)
        computer->IsServer = static_cast<int>(number);
    if (key.Dword("LastKnownIP", number, REG_DWORD) == ERROR_SUCCESS)
        computer->LastKnownIP = number;
    if (key.Dword("HasError", number, REG_DWORD) == ERROR_SUCCESS)
        computer->HasError = static_cast<int>(number);
    ReadProducts(key, *computer);
    return computer;
}

void InventoryReader::ReadProducts(const RegistryTree& key, ComputerRecord& computer) const {
    const auto productsKey = std::find_if(key.SubKeys.begin(), key.SubKeys.end(), [](const RegistryTree& sub) {
        return NamesEqualFolded(sub.Name, "Installed Products");
    });
    if (productsKey == key.SubKeys.end())
        return;
    auto& products = computer.InstalledProducts;
    for (const RegistryTree& productKey : productsKey->SubKeys) {
        // Products the catalogue no longer provides are dropped.
        const ProductDef* product = catalogue_.FindByName(productKey.Name);
        if (product != nullptr && std::find(products.begin(), products.end(), product) == products.end())
            products.push_back(product);
    }
    // The hive enumerates by name; the record keeps catalogue order.
    std::sort(products.begin(), products.end(), [this](const ProductDef* a, const ProductDef* b) {
        return catalogueOrder_.at(a) < catalogueOrder_.at(b);
    });
}

}  // namespace vn
