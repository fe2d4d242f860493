#pragma once

#include <QStackedWidget>
#include <map>

namespace vn {

class CDescriptionBlank;
class CDescriptionComputer;
class CDescriptionComputer2;
class CDescriptionError;
class CDescriptionFolder;
class CDescriptionNoSelected;
class DescriptionView;
class MainWindowContext;
struct InventoryNode;

// The switchable pane above the side panels: the six details views, one
// visible at a time, each under its key (vn::details). Their buttons and
// links send their commands to the main window.
class DetailsPane final : public QStackedWidget {
    Q_OBJECT
public:
    DetailsPane(MainWindowContext& context, QWidget* parent = nullptr);

    // The key of the view that describes node: a folder 33, a computer whose
    // examination failed 34, any other computer 31; without a node 36 while
    // the tree has items, else 35.
    static int KeyFor(const InventoryNode* node, bool treeHasItems);

    // Makes the view with that key the visible one; other numbers are ignored.
    void ShowView(int key);
    // The key of the visible view.
    int CurrentKey() const;
    DescriptionView* View(int key) const;

    // Gives node to the view of its kind, which copies what it shows. The
    // visible view is left as it is; null is ignored.
    void ShowNode(const InventoryNode* node);
    // The caret changed or its node was refreshed: the view for node (or for
    // no node) receives it and is shown, from its top unless it already
    // showed that node.
    void ShowSelection(const InventoryNode* node);

private:
    void AddView(int key, DescriptionView* view);

    MainWindowContext& context_;
    std::map<int, DescriptionView*> views_;
    CDescriptionComputer* computer_;
    CDescriptionFolder* folder_;
    CDescriptionError* error_;
};

}  // namespace vn
