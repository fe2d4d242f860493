#pragma once

#include <QString>

namespace vn {

class CMainFrame;
class ProductCatalogue;
class ScreenRenderer;
struct InventoryNode;
struct SampleInventory;

// The pictures taken of the main window, in order: the empty tree, then the
// sample inventory with each details view, the progress panel and a context
// menu. Each picture is taken through the window's own paths (selection,
// status sink, context-menu request) and only when the details pane shows
// the view the picture is named after.
class ScreenSequence {
public:
    ScreenSequence(CMainFrame& frame, ScreenRenderer& renderer) : frame_(frame), renderer_(renderer) {}

    void Run(ProductCatalogue& catalogue);
    // Pictures that could not be taken or showed the wrong view.
    int Failures() const { return failures_; }

private:
    void Save(const QString& name, int expectedKey);
    void Select(InventoryNode* node);
    void SaveProgressPanel(const SampleInventory& sample);
    void SaveContextMenu(const SampleInventory& sample);

    CMainFrame& frame_;
    ScreenRenderer& renderer_;
    int failures_ = 0;
};

}  // namespace vn
