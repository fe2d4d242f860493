#include "app/NodeItemDelegate.h"

#include <QPainter>

#include "catalogue/ProductDef.h"
#include "inventory/InventoryModel.h"
#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"

namespace vn {

NodeItemDelegate::NodeItemDelegate(NodePredicate isHighlighted, QObject* parent)
    : QStyledItemDelegate(parent),
      isHighlighted_(std::move(isHighlighted)),
      nodeImages_(ResourceIconStrip(picture::kNodeImages, picture::kNodeImageWidth)) {}

void NodeItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const InventoryNode* node = InventoryModel::NodeAt(index);
    // The view's own selection model is not used: the marks are.
    option->state &= ~QStyle::State_Selected;
    if (node != nullptr && isHighlighted_(node))
        option->state |= QStyle::State_Selected;
    // Selected items look the same whether or not the tree has the focus.
    option->state |= QStyle::State_Active;

    if (index.column() == InventoryModel::NameColumn) {
        const int image = index.data(InventoryModel::NodeImageRole).toInt();
        if (image >= 0 && image < static_cast<int>(nodeImages_.size())) {
            option->icon = nodeImages_[static_cast<std::size_t>(image)];
            option->features |= QStyleOptionViewItem::HasDecoration;
            option->decorationSize = QSize(16, 16);
        }
    }
}

QRect NodeItemDelegate::ProductIconRect(const QRect& cell, int position) {
    return {cell.left() + kProductIconOffset + position * kProductIconSpacing, cell.top() + 1, 16, 16};
}

void NodeItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (index.column() != InventoryModel::ProductsColumn)
        return;
    const auto* computer = dynamic_cast<const ComputerRecord*>(InventoryModel::NodeAt(index));
    if (computer == nullptr)
        return;
    // InstalledProducts is kept in catalogue order.
    painter->save();
    painter->setClipRect(option.rect);
    int position = 0;
    for (const ProductDef* product : computer->InstalledProducts) {
        if (!product->Icon.isNull())
            product->Icon.paint(painter, ProductIconRect(option.rect, position));
        ++position;
    }
    painter->restore();
}

QSize NodeItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), 18));
    return size;
}

}  // namespace vn
