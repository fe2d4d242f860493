#include "deploy/ui/InstallDialogServices.h"

#include <QDialog>
#include <QFileDialog>

#include "ui/FileDialogs.h"

namespace vn {

InstallDialogServices InstallDialogServices::Standard() {
    InstallDialogServices services;
    services.runDialog = [](QDialog& dialog) { return dialog.exec(); };
    services.chooseImportFile = [](QWidget* parent) -> std::optional<QString> {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return RunFileDialog(dialog);
    };
    services.chooseExportFile = [](QWidget* parent) -> std::optional<QString> {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(QStringLiteral("Text file (*.txt)"));
        dialog.setDefaultSuffix(QStringLiteral("txt"));
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        return RunFileDialog(dialog);
    };
    return services;
}

}  // namespace vn
