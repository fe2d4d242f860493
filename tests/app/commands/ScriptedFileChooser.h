#pragma once

#include <deque>
#include <filesystem>

#include "app/commands/FileChooser.h"

namespace vn::test {

// Answers the commands' file questions from a queue: a path, or nothing (a
// cancelled dialog) once the queue is empty.
class ScriptedFileChooser final : public FileChooser {
public:
    void QueuePath(const std::filesystem::path& path) { paths_.push_back(QString::fromStdString(path.string())); }

    std::optional<QString> ChooseExportFile(QWidget*) override { return Next(); }
    std::optional<QString> ChooseImportFile(QWidget*) override { return Next(); }

private:
    std::optional<QString> Next() {
        if (paths_.empty())
            return std::nullopt;
        QString path = paths_.front();
        paths_.pop_front();
        return path;
    }

    std::deque<QString> paths_;
};

}  // namespace vn::test
