#pragma once

namespace vn {

class MainWindowContext;

// The commands that change or write the tree without scanning: add folder,
// remove and export. None of them is refused while a scan runs.
class TreeCommands {
public:
    explicit TreeCommands(MainWindowContext& context) : context_(context) {}

    void AddFolder();
    void Remove();
    void ExportComputerList();

private:
    MainWindowContext& context_;
};

}  // namespace vn
