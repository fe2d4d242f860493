#pragma once

#include <QTreeView>
#include <vector>

#include "app/TreeMarks.h"
#include "inventory/InventoryModel.h"

namespace vn {

struct InventoryNode;

// The inventory tree control: two columns, folders and computers with their
// pictures and product icons, a multi-selection of marked items besides the
// caret (the current item), context menus chosen by the marked items,
// computer reports as tool tips, and moving items into folders by dragging.
class CColumnTreeCtrl : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kColumnWidth = 200;
    // The drag picture hangs this far right of and below the mouse pointer.
    static constexpr int kDragImageOffset = 15;

    explicit CColumnTreeCtrl(InventoryModel& model, QWidget* parent = nullptr);

    InventoryModel& Model() const { return model_; }
    const TreeMarks& Marks() const { return marks_; }
    bool IsMarked(const InventoryNode* node) const { return marks_.IsMarked(node); }

    // The node of the caret item, or null.
    InventoryNode* CaretNode() const;
    // The marked nodes in tree order.
    std::vector<InventoryNode*> SelectedNodes() const;
    // Clears every mark and the selection list; the caret stays.
    void ClearMarks();
    // Clears every mark, marks the node alone and makes it the caret.
    void MakeSelectedCaret(InventoryNode* node);

    // The node on the row at a viewport position, or null.
    InventoryNode* NodeAt(const QPoint& position) const;
    // The part of a row the label stands on: its picture and its text.
    QRect LabelRect(const QModelIndex& index) const;

    // The end of a drag of dragged released over target: the selection list
    // moves into target when the model accepts it, and the moved items are
    // then the selection in their new place, the dragged one the caret. A
    // refused drop changes nothing, the selection included.
    void DropOn(InventoryNode* dragged, InventoryNode* target);
    InventoryNode* DraggedNode() const { return dragged_; }
    InventoryNode* DropTarget() const { return dropTarget_; }

    // Opens the context menu for the marked items as the right button's
    // release at position (viewport coordinates) or the keyboard would.
    void RequestContextMenu(const QPoint& position, bool fromKeyboard);

signals:
    // The caret moved to node (null: no caret).
    void caretChanged(vn::InventoryNode* node);
    // Items were marked or unmarked (the caret may stay where it is).
    void marksChanged();
    // The context menu with that id (vn::menu) is to be shown at the global position.
    void contextMenuWanted(int menuId, const QPoint& globalPosition);
    // The Delete key: the marked items are to be removed.
    void deletePressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;

    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void OnLeftPress(QMouseEvent* event, InventoryNode* node);
    // Repaints the marks and tells of their change.
    void RepaintMarks();
    void ToggleMark(InventoryNode* node);
    void MarkSiblingRange(InventoryNode* clicked);
    void OnRowsRemoved();
    void OnEnsureVisible(const QModelIndex& index);
    bool IsOnExpandButton(const QPoint& position, const QModelIndex& index) const;
    void ShowComputerReport(const QPoint& position, const QPoint& globalPosition);
    void SetDropTarget(InventoryNode* node);
    void SelectLanded(const std::vector<InventoryModel::Landing>& landed,
                      const std::vector<const InventoryNode*>& draggedLine);
    void ConfigureHeader();

    InventoryModel& model_;
    TreeMarks marks_;
    InventoryNode* plainPressNode_ = nullptr;
    QPoint pressPosition_;
    InventoryNode* dragged_ = nullptr;
    InventoryNode* dropTarget_ = nullptr;
    bool rightPressed_ = false;
    bool caretSignalsBlocked_ = false;
};

}  // namespace vn
