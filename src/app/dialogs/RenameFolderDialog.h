#pragma once

#include "app/dialogs/NameEntryDialog.h"

namespace vn {

class InventoryModel;
struct FolderNode;

// Asks for a folder's new name, starting from its name. Besides the Add
// Folder rules it refuses the name of a computer beside the folder: the
// saved tree keeps one key per name there.
class RenameFolderDialog final : public NameEntryDialog {
    Q_OBJECT
public:
    RenameFolderDialog(const InventoryModel& model, const FolderNode& folder, QWidget* parent = nullptr);

protected:
    std::string Refusal(const std::string& name) const override;

private:
    const InventoryModel& model_;
    const FolderNode& folder_;
};

}  // namespace vn
