#include "app/commands/TreeCommands.h"

#include <memory>

#include "app/commands/FileChooser.h"
#include "app/commands/FocusTreeOnExit.h"
#include "app/commands/ScanGuard.h"
#include "app/commands/SelectionJobs.h"
#include "app/context/CommandIds.h"
#include "app/dialogs/CAddFolder.h"
#include "app/dialogs/RenameFolderDialog.h"
#include "core/MessageBoxService.h"
#include "inventory/ComputerListFile.h"
#include "inventory/InventoryModel.h"

namespace vn {

void TreeCommands::AddFolder() {
    FocusTreeOnExit focus(context_);
    CAddFolder dialog(context_.DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    context_.Model().InsertNode(context_.SelectedFolder(), std::make_unique<FolderNode>(dialog.Name()), true);
}

void TreeCommands::Remove() {
    bool removed = false;
    if (!ScanInProgress(context_)) {
        const std::vector<InventoryNode*> selection = context_.SelectedNodes();
        if (ShowMessage(kAppCaption, "Are you sure you want to delete the selected item(s)?", MessageIcon::Question,
                        MessageButtons::YesNo) == MessageAnswer::Yes) {
            removed = true;
            if (!selection.empty()) {
                RemoveSelectedNodes(context_.Model(), selection);
                context_.ClearSelection();
            }
        }
    }
    if (context_.Model().rowCount() == 0) {
        context_.ShowDetailsView(details::kBlank);
    } else if (removed) {
        // The tree would otherwise move the caret to a neighbour of a
        // removed item, and the toolbar would act on it while the details
        // say that nothing is selected.
        context_.ClearCaret();
        context_.ShowDetailsView(details::kNoSelection);
    }
}

void TreeCommands::RenameFolder() {
    FocusTreeOnExit focus(context_);
    const std::vector<InventoryNode*> selection = context_.SelectedNodes();
    auto* folder = selection.size() == 1 ? dynamic_cast<FolderNode*>(selection.front()) : nullptr;
    if (folder == nullptr || ScanInProgress(context_))
        return;
    InventoryModel& model = context_.Model();
    RenameFolderDialog dialog(model, *folder, context_.DialogParent());
    if (dialog.exec() != QDialog::Accepted || !model.Contains(folder))
        return;
    // A merge leaves the folder that took the content.
    if (model.RenameFolder(folder, dialog.Name()) != InventoryModel::RenameResult::TakenByComputer)
        context_.SelectNode(folder);
}

void TreeCommands::ExportComputerList() {
    FocusTreeOnExit focus(context_);
    const std::optional<QString> chosen = files_->ChooseExportFile(context_.DialogParent());
    if (!chosen)
        return;
    const std::string path = chosen->toStdString();
    InventoryModel& model = context_.Model();
    if (vn::ExportComputerList(model, path)) {
        ShowMessage(kAppCaption, "The listed computers are exported to\"" + path + "\" successfully.",
                    MessageIcon::Information);
    } else {
        ShowMessage(kAppCaption, "Could not open file \"" + path + "\". Error message: " + model.LastErrorText(),
                    MessageIcon::Stop);
    }
}

}  // namespace vn
