#include "app/commands/FileChooser.h"

#include <QFileDialog>

#include "ui/FileDialogs.h"

namespace vn {

std::optional<QString> QtFileChooser::ChooseExportFile(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Text file (*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return RunFileDialog(dialog);
}

std::optional<QString> QtFileChooser::ChooseImportFile(QWidget* parent) {
    // The dialog never changes the process's working directory.
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog);
}

}  // namespace vn
