#include "ui/FileDialogs.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

namespace vn {
namespace {

// The least size at which the detail columns show their texts.
constexpr QSize kFileDialogSize(760, 460);

void FitColumns(QFileDialog& dialog) {
    // Only Qt's own dialog has the view; a desktop's native one sizes itself.
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (view == nullptr)
        return;
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    dialog.resize(dialog.size().expandedTo(kFileDialogSize));
}

}  // namespace

std::optional<QString> RunFileDialog(QFileDialog& dialog) {
    FitColumns(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace vn
