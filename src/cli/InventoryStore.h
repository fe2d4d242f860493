#pragma once

#include <functional>
#include <memory>

#include "catalogue/ProductCatalogue.h"
#include "inventory/InventoryModel.h"
#include "inventory/InventoryPersistence.h"
#include "platform/Platform.h"

namespace vn::cli {

// The current user's saved tree, the one the window program shows, in a
// model of its own. Changes are made to the tree as it is saved at that
// moment, inside one write group, so two programs never lose each other's
// change; a window program running at the same time notices at its exit that
// the saved tree changed and asks before it writes its own.
class InventoryStore {
public:
    InventoryStore(Platform& platform, const ProductCatalogue& catalogue);

    // Reads the saved tree into the model. False when a tree is saved but
    // could not be read whole; the model then holds the part that was read,
    // and saving it would lose the rest.
    bool Load();

    enum class ChangeResult { Saved, Unchanged, Unreadable, NotSaved };
    // Inside one write group of the user hive: reads the saved tree afresh
    // into a new model, lets change alter it and, when change answers true,
    // saves it; no other program can write in between. Unreadable (nothing
    // saved) when the saved tree could not be read whole; NotSaved when the
    // registry refused a write (the tree saved before is kept) or a node had
    // to be left out. Afterwards the model is the changed tree.
    ChangeResult Change(const std::function<bool(InventoryModel&)>& change);

    InventoryModel& Model() { return *model_; }
    // Why the last Change answered NotSaved.
    const SaveProblems& LastSaveProblems() const { return saveProblems_; }

private:
    bool TreeIsSaved();

    Platform& platform_;
    const ProductCatalogue& catalogue_;
    std::unique_ptr<InventoryModel> model_;
    SaveProblems saveProblems_;
};

}  // namespace vn::cli
