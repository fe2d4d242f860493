#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace vn {

// Where the commands ask the user for a file: the window program uses the
// file dialogs, tests a scripted chooser.
class FileChooser {
public:
    virtual ~FileChooser() = default;

    // The computer list to write: "Text file (*.txt)", default extension
    // "txt", no initial name, no question before overwriting. Nothing when
    // cancelled.
    virtual std::optional<QString> ChooseExportFile(QWidget* parent) = 0;
    // The computer list to read: any file. Nothing when cancelled.
    virtual std::optional<QString> ChooseImportFile(QWidget* parent) = 0;
};

// The file dialogs.
class QtFileChooser final : public FileChooser {
public:
    std::optional<QString> ChooseExportFile(QWidget* parent) override;
    std::optional<QString> ChooseImportFile(QWidget* parent) override;
};

}  // namespace vn
