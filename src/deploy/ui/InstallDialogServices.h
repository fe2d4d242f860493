#pragma once

#include <QString>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace vn {

// How the deployment wizard asks the user for things beyond message boxes:
// modal dialogs and files. The window program uses the real dialogs; tests
// fill in and answer instead.
struct InstallDialogServices {
    // Runs a dialog modally and gives its result.
    std::function<int(QDialog& dialog)> runDialog;
    // A file of computer names to import: any file. Nothing when cancelled.
    std::function<std::optional<QString>(QWidget* parent)> chooseImportFile;
    // The file to export the details to: "Text file (*.txt)", default
    // extension "txt", no question before overwriting. Nothing when cancelled.
    std::function<std::optional<QString>(QWidget* parent)> chooseExportFile;

    static InstallDialogServices Standard();
};

}  // namespace vn
