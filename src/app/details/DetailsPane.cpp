#include "app/details/DetailsPane.h"

#include "app/context/CommandIds.h"
#include "app/context/MainWindowContext.h"
#include "app/details/CDescriptionBlank.h"
#include "app/details/CDescriptionComputer.h"
#include "app/details/CDescriptionError.h"
#include "app/details/CDescriptionFolder.h"
#include "app/details/CDescriptionNoSelected.h"
#include "inventory/InventoryModel.h"

namespace vn {

DetailsPane::DetailsPane(MainWindowContext& context, QWidget* parent)
    : QStackedWidget(parent),
      context_(context),
      computer_(new CDescriptionComputer),
      folder_(new CDescriptionFolder(context.Catalogue())),
      error_(new CDescriptionError) {
    // The blank view first, so that it is the one visible at start.
    AddView(details::kBlank, new CDescriptionBlank);
    AddView(details::kComputer, computer_);
    AddView(details::kComputer2, new CDescriptionComputer2);
    AddView(details::kFolder, folder_);
    AddView(details::kError, error_);
    AddView(details::kNoSelection, new CDescriptionNoSelected);
    ShowView(details::kBlank);
}

void DetailsPane::AddView(int key, DescriptionView* view) {
    view->setProperty("detailsKey", key);
    views_[key] = view;
    addWidget(view);
    connect(view, &DescriptionView::commandRequested, this, [this](int id) { context_.SendCommand(id); });
}

int DetailsPane::KeyFor(const InventoryNode* node, bool treeHasItems) {
    if (node == nullptr)
        return treeHasItems ? details::kNoSelection : details::kBlank;
    if (node->IsFolder)
        return details::kFolder;
    return static_cast<const ComputerRecord*>(node)->HasError == 1 ? details::kError : details::kComputer;
}

void DetailsPane::ShowView(int key) {
    if (DescriptionView* view = View(key))
        setCurrentWidget(view);
}

int DetailsPane::CurrentKey() const {
    const QWidget* current = currentWidget();
    return current != nullptr ? current->property("detailsKey").toInt() : 0;
}

DescriptionView* DetailsPane::View(int key) const {
    const auto found = views_.find(key);
    return found != views_.end() ? found->second : nullptr;
}

void DetailsPane::ShowNode(const InventoryNode* node) {
    if (node == nullptr)
        return;
    switch (KeyFor(node, true)) {
    case details::kFolder: folder_->ShowNode(static_cast<const FolderNode&>(*node)); break;
    case details::kError: error_->ShowNode(static_cast<const ComputerRecord&>(*node)); break;
    default: computer_->ShowNode(static_cast<const ComputerRecord&>(*node)); break;
    }
}

void DetailsPane::ShowSelection(const InventoryNode* node) {
    const int key = KeyFor(node, context_.Model().rowCount() > 0);
    DescriptionView* view = View(key);
    // Only a refresh of what the pane shows keeps the scroll position;
    // another node, or another view, starts at the top with its title.
    const bool refresh = key == CurrentKey() && view->Node() == node;
    ShowNode(node);
    ShowView(key);
    if (!refresh)
        view->ScrollToTop();
}

}  // namespace vn
