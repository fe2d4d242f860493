#pragma once

#include <QAbstractItemModel>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "inventory/InventoryNode.h"

namespace vn {

// The inventory tree: folders the user arranges and the computers in them.
// The model owns every node in it. Among siblings, folders come first, then
// computers, each group sorted by lower-cased name; sibling folders and
// sibling computers never share a name ignoring case (InsertNode merges them).
//
// The model lives on the user-interface thread and is changed there only:
// workers hand their records over through a blocking queued call. Recursive
// moves and deletions therefore need no lock; they cannot interleave with
// another change.
//
// Selection belongs to the view; operations that act on the selection take
// the selected nodes as arguments.
class InventoryModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { NameColumn = 0, ProductsColumn = 1, ColumnCount = 2 };
    enum Role {
        NodeRole = Qt::UserRole + 1,  // InventoryNode*
        NameRole,                     // the node's Name (the label may differ after a merge)
        NodeImageRole,                // int, see NodeImage
        ProductNamesRole,             // QStringList of installed products, in record order
    };

    explicit InventoryModel(QObject* parent = nullptr);
    ~InventoryModel() override;

    // The only way nodes enter the tree. Returns the node now in the tree:
    // the given one, or the existing sibling it was merged into (the given
    // node is then freed). A parent that is not in the tree counts as none.
    // Children a given folder already holds are inserted below the result.
    InventoryNode* InsertNode(FolderNode* parent, std::unique_ptr<InventoryNode> node, bool makeVisible);

    // Tells the views that the node's data changed (picture, details).
    void RefreshNode(const InventoryNode* node);

    // Removes the node with everything below it and frees them.
    void DeleteSubtree(const InventoryNode* node);

    // Where a moved node stands after a move: the address it had (freed by
    // then, only to be compared) and the node in the target.
    struct Landing {
        const InventoryNode* original;
        InventoryNode* node;
    };

    // The end of a drag: moves the selected nodes into target by copying them
    // through InsertNode (so they merge with what is there) and deleting the
    // originals. Refused (false, nothing changes) when target is not a folder
    // of the tree, is the dragged node or its parent, or lies inside a
    // selected node. landed, when given, receives each selected node that
    // went (or already stood) directly into target; nodes inside those are
    // not listed.
    bool MoveNodes(InventoryNode* target, const std::vector<InventoryNode*>& selection, const InventoryNode* dragged,
                   std::vector<Landing>* landed = nullptr);

    // What RenameFolder did.
    enum class RenameResult {
        Renamed,          // the folder carries the new name
        Merged,           // a sibling folder had it: the content went there, the folder is gone
        TakenByComputer,  // a sibling computer has it; their saved keys would be one: nothing changed
        NotInTree,
    };

    // Gives a folder a new name, the name rules of typed names being the
    // caller's. A sibling folder that already has the name (ignoring case)
    // takes the folder's content as a drop onto it would, merging what has
    // the same name. folder then points at the folder that carries the name.
    RenameResult RenameFolder(FolderNode*& folder, const std::string& name);

    // Whether the node is in the tree now. Only the address is compared, so
    // a pointer to a node that was freed may be passed.
    bool Contains(const InventoryNode* node) const;

    // Navigation. ParentOf gives null for a top-level node; ChildrenOf(null)
    // gives the top-level nodes.
    FolderNode* ParentOf(const InventoryNode* node) const;
    const NodeList& ChildrenOf(const FolderNode* folder) const;

    // The expanded state of a folder, saved with the tree.
    void SetExpanded(FolderNode* folder, bool expanded);
    bool IsExpanded(const FolderNode* folder) const;

    // The text of the last failure of ExportComputerList.
    const std::string& LastErrorText() const { return lastErrorText_; }
    void SetLastErrorText(std::string text) { lastErrorText_ = std::move(text); }

    QModelIndex IndexOf(const InventoryNode* node, int column = NameColumn) const;
    static InventoryNode* NodeAt(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // An inserted node asked to be scrolled into view.
    void ensureVisible(const QModelIndex& index);
    // RefreshNode ran for the node: a details pane showing it is rebuilt.
    void nodeRefreshed(const QModelIndex& index);
    // A folder's expanded state changed in the model; the view follows.
    void expandedChanged(const QModelIndex& index, bool expanded);

private:
    FolderNode* ContainerOf(FolderNode* parent);
    int RowOf(const InventoryNode* node) const;
    void Unregister(const InventoryNode& node);
    InventoryNode* CopyInto(FolderNode* target, const InventoryNode& node);
    bool IsInsideOrSame(const InventoryNode* node, const InventoryNode* ancestor) const;
    void AssertUiThread() const;

    FolderNode root_;  // holds the top-level nodes; never shown
    std::unordered_set<const InventoryNode*> nodes_;
    std::string lastErrorText_;
};

}  // namespace vn

Q_DECLARE_METATYPE(vn::InventoryNode*)
