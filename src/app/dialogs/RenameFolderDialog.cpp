#include "app/dialogs/RenameFolderDialog.h"

#include <QLineEdit>
#include <algorithm>

#include "inventory/InventoryModel.h"
#include "inventory/NameCompare.h"

namespace vn {

RenameFolderDialog::RenameFolderDialog(const InventoryModel& model, const FolderNode& folder, QWidget* parent)
    : NameEntryDialog(NameKind::Folder, QStringLiteral("Rename Folder"),
                      QStringLiteral("Enter the new name of the folder:"), parent),
      model_(model),
      folder_(folder) {
    NameEdit()->setText(QString::fromStdString(folder.Name));
    NameEdit()->selectAll();
}

std::string RenameFolderDialog::Refusal(const std::string& name) const {
    std::string refusal = NameEntryDialog::Refusal(name);
    if (!refusal.empty())
        return refusal;
    const NodeList& siblings = model_.ChildrenOf(model_.ParentOf(&folder_));
    const bool computerHasIt = std::any_of(siblings.begin(), siblings.end(), [&](const InventoryNode* sibling) {
        return !sibling->IsFolder && NamesEqualIgnoringCase(sibling->Name, name);
    });
    if (computerHasIt)
        refusal = "A computer beside the folder is named \"" + name + "\". Please enter another folder name.";
    return refusal;
}

}  // namespace vn
