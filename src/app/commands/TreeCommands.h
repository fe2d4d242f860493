#pragma once

namespace vn {

class FileChooser;
class MainWindowContext;

// The commands that change or write the tree without scanning: add folder,
// remove, rename folder and export. Remove and rename, which may take a
// folder a scan is filling out of the tree, are refused while a scan runs.
class TreeCommands {
public:
    TreeCommands(MainWindowContext& context, FileChooser*& files) : context_(context), files_(files) {}

    void AddFolder();
    void Remove();
    void RenameFolder();
    void ExportComputerList();

private:
    MainWindowContext& context_;
    FileChooser*& files_;
};

}  // namespace vn
