#include "app/CColumnTreeCtrl.h"

#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

#include "app/ComputerReportTip.h"
#include "app/ContextMenuChoice.h"
#include "app/NodeItemDelegate.h"
#include "inventory/ComputerReport.h"
#include "inventory/InventoryModel.h"
#include "inventory/InventoryQueries.h"

namespace vn {
namespace {

constexpr const char* kDragMimeType = "application/x-vantor-netwarden-nodes";
// Gap between a label's text and the end of the part of it that a
// double-click still counts on.
constexpr int kLabelSlack = 6;

FolderNode* AsFolder(InventoryNode* node) { return dynamic_cast<FolderNode*>(node); }

}  // namespace

CColumnTreeCtrl::CColumnTreeCtrl(InventoryModel& model, QWidget* parent) : QTreeView(parent), model_(model) {
    setObjectName(QStringLiteral("CColumnTreeCtrl"));
    setModel(&model_);
    setItemDelegate(new NodeItemDelegate(
        [this](const InventoryNode* node) { return marks_.IsMarked(node) || node == dropTarget_; }, this));
    // The marks are the selection; Qt's own selection stays empty.
    setSelectionMode(QAbstractItemView::NoSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setItemsExpandable(true);
    setExpandsOnDoubleClick(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    horizontalScrollBar()->setSingleStep(15);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    ConfigureHeader();

    connect(&model_, &QAbstractItemModel::rowsRemoved, this, &CColumnTreeCtrl::OnRowsRemoved);
    connect(&model_, &QAbstractItemModel::modelReset, this, &CColumnTreeCtrl::OnRowsRemoved);
    connect(&model_, &InventoryModel::ensureVisible, this, &CColumnTreeCtrl::OnEnsureVisible);
    connect(&model_, &InventoryModel::expandedChanged, this,
            [this](const QModelIndex& index, bool expanded) { setExpanded(index, expanded); });
    connect(this, &QTreeView::expanded, this,
            [this](const QModelIndex& index) { model_.SetExpanded(AsFolder(InventoryModel::NodeAt(index)), true); });
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { model_.SetExpanded(AsFolder(InventoryModel::NodeAt(index)), false); });
}

void CColumnTreeCtrl::ConfigureHeader() {
    QHeaderView* bar = header();
    bar->setStretchLastSection(false);
    bar->setSectionsMovable(false);
    bar->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bar->setFont(QApplication::font("QStatusBar"));
    // The height of an "A" in the header's font, with room for the frame.
    bar->setFixedHeight(QFontMetrics(bar->font()).height() + 4 + 3);
    bar->setMinimumSectionSize(1);
    bar->resizeSection(InventoryModel::NameColumn, kColumnWidth);
    // Wide enough for its title in the header's font.
    bar->resizeSection(InventoryModel::ProductsColumn,
                       std::max(kColumnWidth, bar->sectionSizeHint(InventoryModel::ProductsColumn)));
    bar->setSectionResizeMode(InventoryModel::NameColumn, QHeaderView::Interactive);
    // The product column keeps its width whatever the user does.
    bar->setSectionResizeMode(InventoryModel::ProductsColumn, QHeaderView::Fixed);
}

InventoryNode* CColumnTreeCtrl::CaretNode() const {
    InventoryNode* node = InventoryModel::NodeAt(currentIndex());
    return model_.Contains(node) ? node : nullptr;
}

std::vector<InventoryNode*> CColumnTreeCtrl::SelectedNodes() const {
    std::vector<InventoryNode*> nodes;
    CollectSelected(
        model_, [this](const InventoryNode& node) { return marks_.IsMarked(&node); }, nodes);
    return nodes;
}

void CColumnTreeCtrl::ClearMarks() {
    marks_.ClearAll();
    RepaintMarks();
}

void CColumnTreeCtrl::RepaintMarks() {
    viewport()->update();
    emit marksChanged();
}

void CColumnTreeCtrl::MakeSelectedCaret(InventoryNode* node) {
    marks_.ClearAll();
    if (node != nullptr && model_.Contains(node)) {
        marks_.Select(node);
        setCurrentIndex(model_.IndexOf(node));
    }
    RepaintMarks();
}

InventoryNode* CColumnTreeCtrl::NodeAt(const QPoint& position) const {
    return InventoryModel::NodeAt(indexAt(position));
}

QRect CColumnTreeCtrl::LabelRect(const QModelIndex& index) const {
    const QModelIndex nameIndex = index.siblingAtColumn(InventoryModel::NameColumn);
    const QRect cell = visualRect(nameIndex);
    if (!cell.isValid())
        return {};
    const QString text = nameIndex.data(Qt::DisplayRole).toString();
    // Picture, the gap Qt's item style leaves after it, and the text.
    const int width = 16 + 6 + fontMetrics().horizontalAdvance(text) + kLabelSlack;
    QRect label(cell.left(), cell.top(), width, cell.height());
    const int columnEnd = header()->sectionViewportPosition(InventoryModel::NameColumn) +
                          header()->sectionSize(InventoryModel::NameColumn);
    label.setRight(std::min(label.right(), columnEnd - 1));
    return label;
}

bool CColumnTreeCtrl::IsOnExpandButton(const QPoint& position, const QModelIndex& index) const {
    // Left of the cell lies the indentation with the item's expand button.
    return index.isValid() && position.x() < visualRect(index.siblingAtColumn(0)).left();
}

void CColumnTreeCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    const QModelIndex index = indexAt(position);
    InventoryNode* node = InventoryModel::NodeAt(index);
    plainPressNode_ = nullptr;

    if (event->button() == Qt::RightButton) {
        rightPressed_ = true;
        setFocus(Qt::MouseFocusReason);
        // Only a press on the picture or the text chooses the item; a
        // marked item keeps the multi-selection for the context menu.
        if (node != nullptr && LabelRect(index).contains(position) && !marks_.IsMarked(node))
            MakeSelectedCaret(node);
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QTreeView::mousePressEvent(event);
        return;
    }
    if (node == nullptr) {
        ClearMarks();
        QTreeView::mousePressEvent(event);
        // Nothing is chosen now: without a caret the details and the buttons
        // stop showing the item chosen last.
        selectionModel()->clearCurrentIndex();
        return;
    }
    if (IsOnExpandButton(position, index)) {
        QTreeView::mousePressEvent(event);
        return;
    }
    OnLeftPress(event, node);
}

void CColumnTreeCtrl::OnLeftPress(QMouseEvent* event, InventoryNode* node) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers & Qt::ControlModifier) {
        setFocus(Qt::MouseFocusReason);
        ToggleMark(node);
        event->accept();
        return;
    }
    if (modifiers & Qt::ShiftModifier) {
        setFocus(Qt::MouseFocusReason);
        MarkSiblingRange(node);
        event->accept();
        return;
    }
    if (!marks_.IsMarked(node))
        marks_.ClearAll();
    marks_.Select(node);
    RepaintMarks();
    plainPressNode_ = node;
    pressPosition_ = event->position().toPoint();
    // Makes the item the caret.
    QTreeView::mousePressEvent(event);
}

void CColumnTreeCtrl::mouseMoveEvent(QMouseEvent* event) {
    // Qt's views only drag items of their own selection, which the marks
    // replace; the drag starts here.
    if ((event->buttons() & Qt::LeftButton) && plainPressNode_ != nullptr &&
        (event->position().toPoint() - pressPosition_).manhattanLength() >= QApplication::startDragDistance()) {
        startDrag(Qt::MoveAction);
        setState(NoState);
        event->accept();
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

void CColumnTreeCtrl::ToggleMark(InventoryNode* node) {
    if (marks_.IsMarked(node))
        marks_.Deselect(node);
    else
        marks_.Select(node);
    RepaintMarks();
}

void CColumnTreeCtrl::MarkSiblingRange(InventoryNode* clicked) {
    InventoryNode* caret = CaretNode();
    if (caret == nullptr || model_.ParentOf(caret) != model_.ParentOf(clicked))
        return;
    const int from = model_.IndexOf(caret).row();
    const int to = model_.IndexOf(clicked).row();
    const int step = from <= to ? 1 : -1;
    const NodeList& siblings = model_.ChildrenOf(model_.ParentOf(caret));
    marks_.ClearAll();
    for (int row = from;; row += step) {
        marks_.Select(siblings[static_cast<std::size_t>(row)]);
        if (row == to)
            break;
    }
    RepaintMarks();
}

void CColumnTreeCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && rightPressed_) {
        rightPressed_ = false;
        RequestContextMenu(event->position().toPoint(), false);
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || plainPressNode_ == nullptr)
        return;
    // A plain click (the press did not become a drag) leaves the clicked
    // item alone selected, also when it was one of several marked: the
    // press kept them only for a drag.
    InventoryNode* clicked = plainPressNode_;
    plainPressNode_ = nullptr;
    if (model_.Contains(clicked))
        MakeSelectedCaret(clicked);
}

void CColumnTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    const QModelIndex index = indexAt(position);
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || !index.isValid())
        return;
    const QRect cell = visualRect(index.siblingAtColumn(InventoryModel::NameColumn));
    const bool onLabelRow = position.x() >= cell.left();
    // On the label only its text (and a little after it) toggles the item;
    // the rest of the row's label area merely focuses the tree.
    if (onLabelRow && !LabelRect(index).contains(position))
        return;
    const QModelIndex nameIndex = index.siblingAtColumn(InventoryModel::NameColumn);
    if (model_.rowCount(nameIndex) > 0)
        setExpanded(nameIndex, !isExpanded(nameIndex));
}

void CColumnTreeCtrl::keyPressEvent(QKeyEvent* event) {
    // Shift+F10 is the keyboard's other way to the context menu.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        RequestContextMenu({}, true);
        return;
    }
    if (event->matches(QKeySequence::Delete)) {
        emit deletePressed();
        return;
    }
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(event);
    // Moving the caret with the keyboard selects the new caret alone.
    if (currentIndex() != before && currentIndex().isValid())
        MakeSelectedCaret(InventoryModel::NodeAt(currentIndex()));
}

void CColumnTreeCtrl::contextMenuEvent(QContextMenuEvent* event) {
    // The mouse's menu opens on the right button's release (see
    // mouseReleaseEvent), whatever the platform's habit.
    if (event->reason() == QContextMenuEvent::Keyboard)
        RequestContextMenu({}, true);
    event->accept();
}

void CColumnTreeCtrl::RequestContextMenu(const QPoint& position, bool fromKeyboard) {
    const std::vector<InventoryNode*> marked = SelectedNodes();
    InventoryNode* underCursor = fromKeyboard ? nullptr : NodeAt(position);
    if (underCursor != nullptr && !marks_.IsMarked(underCursor)) {
        if (marked.size() < 2)
            MakeSelectedCaret(underCursor);
        else
            setCurrentIndex(model_.IndexOf(underCursor));
    }
    const int menuId = ChooseContextMenu(marked, underCursor);
    if (menuId != 0) {
        // From the keyboard the menu opens over the first marked item.
        const QPoint at = fromKeyboard ? visualRect(model_.IndexOf(marked.front())).center() : position;
        emit contextMenuWanted(menuId, viewport()->mapToGlobal(at));
    }
    viewport()->update();
}

bool CColumnTreeCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        ShowComputerReport(help->pos(), help->globalPos());
        return true;
    }
    return QTreeView::viewportEvent(event);
}

void CColumnTreeCtrl::ShowComputerReport(const QPoint& position, const QPoint& globalPosition) {
    const QModelIndex index = indexAt(position);
    const InventoryNode* node = InventoryModel::NodeAt(index);
    // Over a computer's picture or name only; folders have no report.
    std::optional<ComputerReport> report;
    if (node != nullptr && LabelRect(index).contains(position))
        report = MakeComputerReport(*node);
    if (!report) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(globalPosition, ComputerReportTip(*report, *style(), fontMetrics()), viewport(),
                       LabelRect(index));
}

void CColumnTreeCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    if (caretSignalsBlocked_)
        return;
    InventoryNode* node = InventoryModel::NodeAt(current);
    emit caretChanged(model_.Contains(node) ? node : nullptr);
}

void CColumnTreeCtrl::focusInEvent(QFocusEvent* event) {
    // Qt's views make the first item current when they get the focus
    // without one; this tree has no caret until the user chooses an item.
    const bool hadCaret = currentIndex().isValid();
    caretSignalsBlocked_ = true;
    QTreeView::focusInEvent(event);
    if (!hadCaret && currentIndex().isValid())
        selectionModel()->clearCurrentIndex();
    caretSignalsBlocked_ = false;
}

void CColumnTreeCtrl::OnRowsRemoved() {
    const std::size_t marked = marks_.MarkedCount();
    marks_.Prune([this](const InventoryNode* node) { return model_.Contains(node); });
    if (marks_.MarkedCount() != marked)
        emit marksChanged();
    if (!model_.Contains(plainPressNode_))
        plainPressNode_ = nullptr;
    if (!model_.Contains(dragged_))
        dragged_ = nullptr;
    if (!model_.Contains(dropTarget_))
        dropTarget_ = nullptr;
}

void CColumnTreeCtrl::OnEnsureVisible(const QModelIndex& index) {
    // Every folder above the node opens, as the tree control's own
    // ensure-visible does.
    for (FolderNode* folder = model_.ParentOf(InventoryModel::NodeAt(index)); folder != nullptr;
         folder = model_.ParentOf(folder))
        model_.SetExpanded(folder, true);
    scrollTo(index);
}

void CColumnTreeCtrl::SetDropTarget(InventoryNode* node) {
    if (dropTarget_ == node)
        return;
    dropTarget_ = node;
    viewport()->update();
}

void CColumnTreeCtrl::startDrag(Qt::DropActions) {
    InventoryNode* dragged = plainPressNode_;
    plainPressNode_ = nullptr;
    if (dragged == nullptr || !model_.Contains(dragged))
        return;
    const QPixmap image = viewport()->grab(LabelRect(model_.IndexOf(dragged)));
    if (image.isNull())
        return;  // no picture, no drag
    dragged_ = dragged;
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kDragMimeType), QByteArray());
    drag->setMimeData(mime);
    drag->setPixmap(image);
    drag->setHotSpot(QPoint(-kDragImageOffset, -kDragImageOffset));
    if (drag->exec(Qt::MoveAction) == Qt::IgnoreAction)
        marks_.ClearList();  // released elsewhere
    dragged_ = nullptr;
    SetDropTarget(nullptr);
}

void CColumnTreeCtrl::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this && event->mimeData()->hasFormat(QString::fromLatin1(kDragMimeType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CColumnTreeCtrl::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() != this) {
        event->ignore();
        return;
    }
    // Scrolls near the edges; its verdict on the drop is replaced below.
    QTreeView::dragMoveEvent(event);
    InventoryNode* node = NodeAt(event->position().toPoint());
    if (node != nullptr)
        SetDropTarget(node);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void CColumnTreeCtrl::dragLeaveEvent(QDragLeaveEvent* event) {
    QTreeView::dragLeaveEvent(event);
    SetDropTarget(nullptr);
}

void CColumnTreeCtrl::dropEvent(QDropEvent* event) {
    InventoryNode* target = NodeAt(event->position().toPoint());
    SetDropTarget(nullptr);
    if (target == nullptr || event->source() != this) {
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        return;
    }
    DropOn(dragged_, target);
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void CColumnTreeCtrl::DropOn(InventoryNode* dragged, InventoryNode* target) {
    if (dragged == nullptr || target == nullptr)
        return;
    // The dragged node and the folders above it: after the move one of them
    // names the node the caret follows to the target.
    std::vector<const InventoryNode*> draggedLine;
    for (const InventoryNode* walk = dragged; walk != nullptr; walk = model_.ParentOf(walk))
        draggedLine.push_back(walk);
    std::vector<InventoryModel::Landing> landed;
    // Qt moves the caret to a neighbour when its item goes; that stop on the
    // way is not reported.
    caretSignalsBlocked_ = true;
    const bool moved = model_.MoveNodes(target, marks_.SelectionList(), dragged, &landed);
    caretSignalsBlocked_ = false;
    // A refused drop leaves the marks and the selection list as they were,
    // so the same items can be dragged elsewhere.
    if (moved)
        SelectLanded(landed, draggedLine);
    RepaintMarks();
}

void CColumnTreeCtrl::SelectLanded(const std::vector<InventoryModel::Landing>& landed,
                                   const std::vector<const InventoryNode*>& draggedLine) {
    // The moved items stay selected in their new place, the dragged one (or
    // the folder that took it along) as the caret.
    marks_.ClearAll();
    InventoryNode* caret = nullptr;
    for (const InventoryModel::Landing& landing : landed) {
        marks_.Select(landing.node);
        if (std::find(draggedLine.begin(), draggedLine.end(), landing.original) != draggedLine.end())
            caret = landing.node;
    }
    if (caret == nullptr) {
        emit caretChanged(CaretNode());
        return;
    }
    const QModelIndex index = model_.IndexOf(caret);
    if (currentIndex() == index)
        emit caretChanged(caret);
    else
        setCurrentIndex(index);
}

}  // namespace vn
