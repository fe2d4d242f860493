#include "cli/InventoryStore.h"

#include "inventory/InventoryPersistence.h"

namespace vn::cli {

InventoryStore::InventoryStore(Platform& platform, const ProductCatalogue& catalogue)
    : platform_(platform),
      catalogue_(catalogue),
      model_(std::make_unique<InventoryModel>()) {}

bool InventoryStore::Load() {
    model_ = std::make_unique<InventoryModel>();
    if (LoadInventory(*model_, platform_.registry(), catalogue_))
        return true;
    // LoadInventory also fails when nothing is saved yet: an empty tree.
    return model_->rowCount() == 0 && !TreeIsSaved();
}

bool InventoryStore::TreeIsSaved() {
    RegistryKeyPtr hive;
    if (platform_.registry().Connect("", Hive::CurrentUser, hive) != ERROR_SUCCESS)
        return true;  // unreadable: assume the worst
    RegistryKeyPtr root;
    return hive->OpenKey(kInventoryRootKey, KEY_READ, root) == ERROR_SUCCESS;
}

InventoryStore::ChangeResult InventoryStore::Change(const std::function<bool(InventoryModel&)>& change) {
    RegistryKeyPtr hive;
    std::unique_ptr<RegistryWriteGroup> group;
    if (platform_.registry().Connect("", Hive::CurrentUser, hive) == ERROR_SUCCESS)
        group = hive->BeginWriteGroup();
    // Abandoned (rolled back) on every way out but the commit.
    if (!Load())
        return ChangeResult::Unreadable;
    if (!change(*model_))
        return ChangeResult::Unchanged;
    // A save that left a node out still lands the rest; one whose write
    // failed has failed the whole group, and its commit fails.
    saveProblems_ = {};
    const bool complete = SaveInventory(*model_, platform_.registry(), &saveProblems_);
    if (group != nullptr && group->Commit() != ERROR_SUCCESS)
        return ChangeResult::NotSaved;
    return complete ? ChangeResult::Saved : ChangeResult::NotSaved;
}

}  // namespace vn::cli
