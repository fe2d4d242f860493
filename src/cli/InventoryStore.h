#pragma once

#include "detect/ProductCatalogue.h"
#include "inventory/InventoryModel.h"
#include "platform/Platform.h"

namespace vn::cli {

// The current user's saved tree, the one the window program shows, in a
// model of its own. Whoever saves last wins: a window program running at the
// same time keeps its own tree and writes it back when it closes.
class InventoryStore {
public:
    InventoryStore(Platform& platform, const ProductCatalogue& catalogue)
        : platform_(platform), catalogue_(catalogue) {}

    // Reads the saved tree into the model. False when a tree is saved but
    // could not be read whole; the model then holds the part that was read,
    // and saving it would lose the rest.
    bool Load();
    // Replaces the saved tree with the model's in one write group. False when
    // it could not be written, or a node had to be left out.
    bool Save();

    InventoryModel& model() { return model_; }

private:
    bool TreeIsSaved();

    Platform& platform_;
    const ProductCatalogue& catalogue_;
    InventoryModel model_;
};

}  // namespace vn::cli
