#include "cli/InventoryStore.h"

#include "inventory/InventoryPersistence.h"

namespace vn::cli {

bool InventoryStore::Load() {
    if (LoadInventory(model_, platform_.registry(), catalogue_))
        return true;
    // LoadInventory also fails when nothing is saved yet: an empty tree.
    return model_.rowCount() == 0 && !TreeIsSaved();
}

bool InventoryStore::TreeIsSaved() {
    RegistryKeyPtr hive;
    if (platform_.registry().Connect("", Hive::CurrentUser, hive) != ERROR_SUCCESS)
        return true;  // unreadable: assume the worst
    RegistryKeyPtr root;
    return hive->OpenKey(kInventoryRootKey, KEY_READ, root) == ERROR_SUCCESS;
}

bool InventoryStore::Save() { return SaveInventory(model_, platform_.registry()); }

}  // namespace vn::cli
