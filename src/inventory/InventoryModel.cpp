#include "inventory/InventoryModel.h"

#include <QStringList>
#include <QThread>
#include <algorithm>

#include "catalogue/ProductDef.h"
#include "inventory/NameCompare.h"
#include "inventory/NodeImage.h"

namespace vn {
namespace {

// The place of a node among its siblings: folders first, then by lower-cased name.
struct SiblingKey {
    bool folder;
    std::string_view name;
};

SiblingKey KeyOf(const InventoryNode& node) { return {node.IsFolder != 0, node.Name}; }

bool SortsBefore(const SiblingKey& a, const SiblingKey& b) {
    if (a.folder != b.folder)
        return a.folder;
    return CompareLowerCase(a.name, b.name) < 0;
}

struct SiblingLess {
    bool operator()(const InventoryNode* node, const SiblingKey& key) const { return SortsBefore(KeyOf(*node), key); }
    bool operator()(const SiblingKey& key, const InventoryNode* node) const { return SortsBefore(key, KeyOf(*node)); }
};

FolderNode* AsFolder(InventoryNode* node) { return dynamic_cast<FolderNode*>(node); }

}  // namespace

InventoryModel::InventoryModel(QObject* parent) : QAbstractItemModel(parent), root_("") {}

InventoryModel::~InventoryModel() = default;

void InventoryModel::AssertUiThread() const { Q_ASSERT(QThread::currentThread() == thread()); }

FolderNode* InventoryModel::ContainerOf(FolderNode* parent) {
    return parent != nullptr && Contains(parent) ? parent : &root_;
}

InventoryNode* InventoryModel::InsertNode(FolderNode* parent, std::unique_ptr<InventoryNode> node, bool makeVisible) {
    AssertUiThread();
    FolderNode* container = ContainerOf(parent);
    auto& siblings = container->Children;
    const SiblingKey key = KeyOf(*node);

    // Children that came with a folder are inserted one by one below the
    // result, so they are sorted and merged like everything else.
    std::vector<std::unique_ptr<InventoryNode>> pendingChildren;
    if (FolderNode* folder = AsFolder(node.get()))
        pendingChildren = folder->Children.TakeAll();

    InventoryNode* result = nullptr;
    NodeList::const_iterator position;
    if (key.folder) {
        position = std::lower_bound(siblings.begin(), siblings.end(), key, SiblingLess{});
        if (position != siblings.end() && (*position)->IsFolder &&
            NamesEqualIgnoringCase((*position)->Name, node->Name))
            result = *position;
    } else {
        position = std::upper_bound(siblings.begin(), siblings.end(), key, SiblingLess{});
        if (position != siblings.begin()) {
            auto* previous = dynamic_cast<ComputerRecord*>(*std::prev(position));
            if (previous != nullptr && NamesEqualIgnoringCase(previous->Name, node->Name)) {
                const auto& incoming = static_cast<const ComputerRecord&>(*node);
                // A failed examination says nothing of the products: the
                // ones known before stay.
                std::vector<const ProductDef*> known = previous->InstalledProducts;
                previous->CopyFrom(incoming);
                if (incoming.HasError != 0)
                    previous->InstalledProducts = std::move(known);
                RefreshNode(previous);
                return previous;
            }
        }
    }

    if (result == nullptr) {
        const int row = static_cast<int>(position - siblings.begin());
        beginInsertRows(container == &root_ ? QModelIndex() : IndexOf(container), row, row);
        node->Parent = container;
        node->ItemText = node->Name;
        result = node.get();
        siblings.insert(position, std::move(node));
        nodes_.insert(result);
        endInsertRows();
        if (makeVisible)
            emit ensureVisible(IndexOf(result));
    }

    if (auto* folder = AsFolder(result)) {
        for (auto& child : pendingChildren)
            InsertNode(folder, std::move(child), false);
    }
    return result;
}

void InventoryModel::RefreshNode(const InventoryNode* node) {
    AssertUiThread();
    if (!Contains(node))
        return;
    emit dataChanged(IndexOf(node, NameColumn), IndexOf(node, ProductsColumn));
    emit nodeRefreshed(IndexOf(node));
}

void InventoryModel::Unregister(const InventoryNode& node) {
    nodes_.erase(&node);
    if (const auto* folder = dynamic_cast<const FolderNode*>(&node)) {
        for (const InventoryNode* child : folder->Children)
            Unregister(*child);
    }
}

void InventoryModel::DeleteSubtree(const InventoryNode* node) {
    AssertUiThread();
    if (!Contains(node))
        return;
    FolderNode* container = node->Parent;
    const int row = RowOf(node);
    beginRemoveRows(container == &root_ ? QModelIndex() : IndexOf(container), row, row);
    Unregister(*node);
    std::unique_ptr<InventoryNode> removed = container->Children.Take(container->Children.begin() + row);
    endRemoveRows();
    // removed frees the node and its subtree here, after the views let go of them.
}

bool InventoryModel::IsInsideOrSame(const InventoryNode* node, const InventoryNode* ancestor) const {
    for (const InventoryNode* walk = node; walk != nullptr && walk != &root_; walk = walk->Parent) {
        if (walk == ancestor)
            return true;
    }
    return false;
}

bool InventoryModel::MoveNodes(InventoryNode* targetNode, const std::vector<InventoryNode*>& selection,
                               const InventoryNode* dragged, std::vector<Landing>* landed) {
    AssertUiThread();
    FolderNode* target = Contains(targetNode) ? AsFolder(targetNode) : nullptr;
    if (target == nullptr)
        return false;
    if (dragged != nullptr && (target == dragged || target == dragged->Parent))
        return false;
    std::vector<InventoryNode*> moving;
    for (InventoryNode* node : selection) {
        if (!Contains(node))
            continue;
        if (IsInsideOrSame(target, node))
            return false;
        moving.push_back(node);
    }

    SetExpanded(target, true);
    // A node below another selected node travels with that node; a node that
    // already stands in the target stays (copying it onto itself and then
    // deleting the original would lose it).
    auto travelsWithOther = [&](const InventoryNode* node) {
        return std::any_of(moving.begin(), moving.end(),
                           [&](const InventoryNode* other) { return other != node && IsInsideOrSame(node, other); });
    };
    std::vector<InventoryNode*> roots;
    for (InventoryNode* node : moving) {
        if (travelsWithOther(node) || std::find(roots.begin(), roots.end(), node) != roots.end())
            continue;
        if (node->Parent != target)
            roots.push_back(node);
        else if (landed != nullptr)
            landed->push_back({node, node});
    }
    for (InventoryNode* node : roots) {
        InventoryNode* copy = CopyInto(target, *node);
        DeleteSubtree(node);
        if (landed != nullptr)
            landed->push_back({node, copy});
    }
    return true;
}

InventoryModel::RenameResult InventoryModel::RenameFolder(FolderNode*& folder, const std::string& name) {
    AssertUiThread();
    if (!Contains(folder))
        return RenameResult::NotInTree;
    FolderNode* container = folder->Parent;
    const NodeList& siblings = container->Children;
    FolderNode* twin = nullptr;
    for (InventoryNode* sibling : siblings) {
        if (sibling == folder || !NamesEqualIgnoringCase(sibling->Name, name))
            continue;
        if (!sibling->IsFolder)
            return RenameResult::TakenByComputer;
        twin = AsFolder(sibling);
    }
    if (twin != nullptr) {
        SetExpanded(twin, true);
        for (const InventoryNode* child : folder->Children)
            CopyInto(twin, *child);
        DeleteSubtree(folder);
        folder = twin;
        return RenameResult::Merged;
    }

    // The row the new name sorts to among the other siblings.
    const SiblingKey key{true, name};
    const int from = RowOf(folder);
    const int to = static_cast<int>(std::count_if(siblings.begin(), siblings.end(), [&](const InventoryNode* sibling) {
        return sibling != folder && SortsBefore(KeyOf(*sibling), key);
    }));
    const QModelIndex parentIndex = container == &root_ ? QModelIndex() : IndexOf(container);
    const bool moves = to != from;
    if (moves)
        beginMoveRows(parentIndex, from, from, parentIndex, to > from ? to + 1 : to);
    std::unique_ptr<InventoryNode> taken = container->Children.Take(siblings.begin() + from);
    taken->Name = name;
    taken->ItemText = name;
    container->Children.insert(siblings.begin() + to, std::move(taken));
    if (moves)
        endMoveRows();
    RefreshNode(folder);
    return RenameResult::Renamed;
}

InventoryNode* InventoryModel::CopyInto(FolderNode* target, const InventoryNode& node) {
    if (const auto* folder = dynamic_cast<const FolderNode*>(&node)) {
        auto* copy = AsFolder(InsertNode(target, std::make_unique<FolderNode>(folder->Name), true));
        for (const InventoryNode* child : folder->Children)
            CopyInto(copy, *child);
        return copy;
    }
    const auto& computer = static_cast<const ComputerRecord&>(node);
    auto copy = std::make_unique<ComputerRecord>(computer.Name);
    copy->CopyFrom(computer);
    return InsertNode(target, std::move(copy), true);
}

bool InventoryModel::Contains(const InventoryNode* node) const { return node != nullptr && nodes_.count(node) != 0; }

FolderNode* InventoryModel::ParentOf(const InventoryNode* node) const {
    if (!Contains(node) || node->Parent == &root_)
        return nullptr;
    return node->Parent;
}

const NodeList& InventoryModel::ChildrenOf(const FolderNode* folder) const {
    return folder != nullptr ? folder->Children : root_.Children;
}

void InventoryModel::SetExpanded(FolderNode* folder, bool expanded) {
    AssertUiThread();
    if (!Contains(folder) || folder->Expanded == expanded)
        return;
    folder->Expanded = expanded;
    emit expandedChanged(IndexOf(folder), expanded);
}

bool InventoryModel::IsExpanded(const FolderNode* folder) const { return Contains(folder) && folder->Expanded; }

int InventoryModel::RowOf(const InventoryNode* node) const {
    const auto& siblings = node->Parent->Children;
    auto found = std::lower_bound(siblings.begin(), siblings.end(), KeyOf(*node), SiblingLess{});
    if (found == siblings.end() || *found != node) {
        // A name changed behind the model's back: find the node the slow way.
        found = std::find_if(siblings.begin(), siblings.end(),
                             [node](const InventoryNode* sibling) { return sibling == node; });
    }
    return static_cast<int>(found - siblings.begin());
}

QModelIndex InventoryModel::IndexOf(const InventoryNode* node, int column) const {
    if (!Contains(node))
        return {};
    return createIndex(RowOf(node), column, const_cast<InventoryNode*>(node));
}

InventoryNode* InventoryModel::NodeAt(const QModelIndex& index) {
    return index.isValid() ? static_cast<InventoryNode*>(index.internalPointer()) : nullptr;
}

QModelIndex InventoryModel::index(int row, int column, const QModelIndex& parent) const {
    if (column < 0 || column >= ColumnCount || row < 0)
        return {};
    const FolderNode* folder = parent.isValid() ? AsFolder(NodeAt(parent)) : &root_;
    if (folder == nullptr || row >= static_cast<int>(folder->Children.size()))
        return {};
    return createIndex(row, column, folder->Children[static_cast<std::size_t>(row)]);
}

QModelIndex InventoryModel::parent(const QModelIndex& child) const {
    const InventoryNode* node = NodeAt(child);
    if (node == nullptr || node->Parent == &root_)
        return {};
    return createIndex(RowOf(node->Parent), NameColumn, node->Parent);
}

int InventoryModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    const FolderNode* folder = parent.isValid() ? AsFolder(NodeAt(parent)) : &root_;
    return folder != nullptr ? static_cast<int>(folder->Children.size()) : 0;
}

int InventoryModel::columnCount(const QModelIndex&) const { return ColumnCount; }

QVariant InventoryModel::data(const QModelIndex& index, int role) const {
    InventoryNode* node = NodeAt(index);
    if (node == nullptr)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == NameColumn ? QVariant(QString::fromStdString(node->ItemText)) : QVariant();
    case NodeRole: return QVariant::fromValue(node);
    case NameRole: return QString::fromStdString(node->Name);
    case NodeImageRole: return static_cast<int>(NodeImage(*node));
    case ProductNamesRole: {
        QStringList names;
        if (const auto* computer = dynamic_cast<const ComputerRecord*>(node)) {
            for (const ProductDef* product : computer->InstalledProducts)
                names << QString::fromStdString(product->DisplayName);
        }
        return names;
    }
    default: return {};
    }
}

QVariant InventoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn: return QStringLiteral("Computer Name");
    case ProductsColumn: return QStringLiteral("Installed Remote Access Products");
    default: return {};
    }
}

Qt::ItemFlags InventoryModel::flags(const QModelIndex& index) const {
    const InventoryNode* node = NodeAt(index);
    if (node == nullptr)
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (node->IsFolder)
        result |= Qt::ItemIsDropEnabled;
    return result;
}

}  // namespace vn
