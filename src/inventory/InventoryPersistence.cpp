#include "inventory/InventoryPersistence.h"

#include "inventory/InventoryModel.h"
#include "inventory/InventoryReader.h"
#include "inventory/InventoryWriter.h"

namespace vn {

bool SaveInventory(const InventoryModel& model, Registry& registry) {
    RegistryKeyPtr hive;
    if (registry.Connect("", Hive::CurrentUser, hive) != ERROR_SUCCESS)
        return false;
    // Deleting the old tree and writing the new one land together or not at
    // all, so a failure half-way keeps the tree saved last.
    std::unique_ptr<RegistryWriteGroup> group = hive->BeginWriteGroup();
    InventoryWriter writer;
    {
        const Status deleted = hive->DeleteTree(kInventoryRootKey);
        if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
            return false;
        RegistryKeyPtr root;
        if (hive->CreateKey(kInventoryRootKey, KEY_ALL_ACCESS, root) != ERROR_SUCCESS)
            return false;
        if (!writer.WriteSiblings(*root, model.ChildrenOf(nullptr)))
            return false;
    }  // every key is closed before the group lands
    if (group != nullptr && group->Commit() != ERROR_SUCCESS)
        return false;
    return !writer.Incomplete();
}

bool LoadInventory(InventoryModel& model, Registry& registry, const ProductCatalogue& catalogue) {
    RegistryKeyPtr hive;
    if (registry.Connect("", Hive::CurrentUser, hive) != ERROR_SUCCESS)
        return false;
    RegistryKeyPtr root;
    if (hive->OpenKey(kInventoryRootKey, KEY_READ, root) != ERROR_SUCCESS)
        return false;
    InventoryReader reader(model, catalogue);
    const bool complete = reader.ReadChildren(*root, nullptr);
    if (model.rowCount() > 0)
        emit model.ensureVisible(model.index(0, InventoryModel::NameColumn));
    return complete;
}

}  // namespace vn
