#pragma once

#include <QIcon>
#include <QStyledItemDelegate>
#include <functional>
#include <vector>

namespace vn {

struct InventoryNode;

// Paints one cell of the inventory tree: the node picture before the name,
// the selected mark of the tree's own multi-selection (across the whole row),
// the drop target of a drag, and the product icons of a computer in the
// second column.
class NodeItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using NodePredicate = std::function<bool(const InventoryNode*)>;

    // Product icons start this far into the second column, 1 pixel below the
    // row's top, 17 pixels apart.
    static constexpr int kProductIconOffset = 9;
    static constexpr int kProductIconSpacing = 17;

    NodeItemDelegate(NodePredicate isHighlighted, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the first product icon of a row whose second cell is cell is drawn.
    static QRect ProductIconRect(const QRect& cell, int position);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    NodePredicate isHighlighted_;
    std::vector<QIcon> nodeImages_;
};

}  // namespace vn
