#include "inventory/InventoryReader.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "catalogue/ProductCatalogue.h"
#include "inventory/InventoryModel.h"
#include "platform/NameFolding.h"

namespace vn {
namespace {

// Every value a stored folder or computer has, in the order of StoredValue.
const std::vector<std::string> kStoredValues = {"",          "Expanded", "ErrorString", "Description",
                                                "OSVersion", "IsServer", "LastKnownIP", "HasError"};
enum StoredValue : std::size_t { Kind, Expanded, ErrorString, Description, OSVersion, IsServer, LastKnownIP, HasError };

}  // namespace

InventoryReader::InventoryReader(InventoryModel& model, const ProductCatalogue& catalogue)
    : model_(model),
      catalogue_(catalogue) {
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        catalogueOrder_.emplace(&catalogue.at(i), i);
}

bool InventoryReader::ReadChildren(RegistryKey& key, FolderNode* parent) {
    top_ = parent;
    failed_ = false;
    const Status status = key.VisitSubKeys(kStoredValues, *this);
    // What was read before a failure is still shown, the keys it left open
    // as far as they were read.
    while (!open_.empty())
        EndKey();
    return !failed_ && status == ERROR_SUCCESS;
}

FolderNode* InventoryReader::CurrentFolder() const {
    for (auto key = open_.rbegin(); key != open_.rend(); ++key) {
        if (key->folder != nullptr)
            return key->folder;
    }
    return top_;
}

void InventoryReader::BeginKey(std::string_view name) {
    if (failed_)
        return;
    using Role = OpenKey::Role;
    OpenKey key;
    if (open_.empty()) {
        key.role = Role::Node;
    } else {
        OpenKey& parent = open_.back();
        if (parent.role == Role::Node && !parent.settled)
            Settle(parent);
        if (failed_)
            return;
        if (parent.role == Role::Node && parent.folder != nullptr)
            key.role = Role::Node;
        else if (parent.role == Role::Node)
            key.role = NamesEqualFolded(name, "Installed Products") ? Role::Products : Role::Ignored;
        else
            key.role = parent.role == Role::Products ? Role::Product : Role::Ignored;
    }
    if (key.role == Role::Product)
        AddProduct(name);
    if (key.role == Role::Node)
        key.computer = std::make_unique<ComputerRecord>(std::string(name));
    open_.push_back(std::move(key));
}

void InventoryReader::Value(std::size_t nameIndex, std::uint32_t type, std::span<const std::uint8_t> data) {
    if (failed_ || open_.back().role != OpenKey::Role::Node)
        return;
    OpenKey& key = open_.back();
    ComputerRecord& computer = *key.computer;
    std::uint32_t number = 0;
    // A value of another type or size leaves the field at its initial value.
    switch (static_cast<StoredValue>(nameIndex)) {
    case Kind:  // up to 4 bytes of any type
        key.kindRead = data.size() <= sizeof key.kind;
        if (key.kindRead && !data.empty())
            std::memcpy(&key.kind, data.data(), data.size());
        break;
    case Expanded: (void)DwordFromData(type, data, key.expanded); break;
    case ErrorString: (void)StringFromData(type, data, computer.ErrorString, REG_SZ); break;
    case Description: (void)StringFromData(type, data, computer.Description, REG_SZ); break;
    case OSVersion: (void)StringFromData(type, data, computer.OSVersion, REG_SZ); break;
    case IsServer:
        if (DwordFromData(type, data, number, REG_DWORD) == ERROR_SUCCESS)
            computer.IsServer = static_cast<int>(number);
        break;
    case LastKnownIP:
        if (DwordFromData(type, data, number, REG_DWORD) == ERROR_SUCCESS)
            computer.LastKnownIP = number;
        break;
    case HasError:
        if (DwordFromData(type, data, number, REG_DWORD) == ERROR_SUCCESS)
            computer.HasError = static_cast<int>(number);
        break;
    }
}

void InventoryReader::Settle(OpenKey& key) {
    key.settled = true;
    if (!key.kindRead) {
        failed_ = true;  // a node of unknown kind: nothing after it is read
        return;
    }
    if (key.kind == 1) {
        FolderNode* parent = CurrentFolder();
        key.folder = static_cast<FolderNode*>(
            model_.InsertNode(parent, std::make_unique<FolderNode>(std::move(key.computer->Name)), true));
        key.computer.reset();
    }
}

void InventoryReader::EndKey() {
    if (failed_) {
        open_.clear();
        return;
    }
    OpenKey& key = open_.back();
    if (key.role == OpenKey::Role::Node) {
        if (!key.settled)
            Settle(key);
        if (failed_) {
            open_.clear();
            return;
        }
        if (key.folder != nullptr && key.expanded == 1) {
            model_.SetExpanded(key.folder, true);
        } else if (key.computer != nullptr) {
            SortProducts(*key.computer);
            std::unique_ptr<ComputerRecord> computer = std::move(key.computer);
            open_.pop_back();
            model_.InsertNode(CurrentFolder(), std::move(computer), false);
            return;
        }
    }
    open_.pop_back();
}

void InventoryReader::AddProduct(std::string_view name) {
    // The computer is the key two levels up: Installed Products' parent.
    ComputerRecord& computer = *open_[open_.size() - 2].computer;
    // Products the catalogue no longer provides are dropped.
    const ProductDef* product = catalogue_.FindByName(name);
    auto& products = computer.InstalledProducts;
    if (product != nullptr && std::find(products.begin(), products.end(), product) == products.end())
        products.push_back(product);
}

void InventoryReader::SortProducts(ComputerRecord& computer) const {
    // The hive enumerates by name; the record keeps catalogue order.
    std::sort(
        computer.InstalledProducts.begin(), computer.InstalledProducts.end(),
        [this](const ProductDef* a, const ProductDef* b) { return catalogueOrder_.at(a) < catalogueOrder_.at(b); });
}

}  // namespace vn
