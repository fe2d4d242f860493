#include "deploy/ui/InstallDialogServices.h"

#include <QDialog>
#include <QFileDialog>

namespace vn {

InstallDialogServices InstallDialogServices::Standard() {
    InstallDialogServices services;
    services.runDialog = [](QDialog& dialog) { return dialog.exec(); };
    services.chooseImportFile = [](QWidget* parent) -> std::optional<QString> {
        const QString file = QFileDialog::getOpenFileName(parent);
        return file.isEmpty() ? std::nullopt : std::optional<QString>(file);
    };
    services.chooseExportFile = [](QWidget* parent) -> std::optional<QString> {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(QStringLiteral("Text file (*.txt)"));
        dialog.setDefaultSuffix(QStringLiteral("txt"));
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front();
    };
    return services;
}

}  // namespace vn
