#include "cli/InventoryPath.h"

#include <algorithm>
#include <vector>

#include "inventory/NameCompare.h"
#include "platform/Registry.h"

namespace vn::cli {
namespace {

// The child of parent of that name and kind, or null.
InventoryNode* FindChild(const InventoryModel& model, const FolderNode* parent, std::string_view name, bool folder) {
    for (InventoryNode* child : model.ChildrenOf(parent)) {
        if ((child->IsFolder != 0) == folder && NamesEqualIgnoringCase(child->Name, name))
            return child;
    }
    return nullptr;
}

}  // namespace

bool ParseInventoryPath(std::string_view text, InventoryPath& result) {
    result = InventoryPath{};
    if (!text.empty() && text.front() == '/')
        text.remove_prefix(1);
    if (!text.empty() && text.back() == '/')
        text.remove_suffix(1);
    if (text.empty())
        return true;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = text.find('/', start);
        const std::string_view name = text.substr(start, slash == std::string_view::npos ? slash : slash - start);
        if (name.empty())
            return false;
        result.names.emplace_back(name);
        if (slash == std::string_view::npos)
            return true;
        start = slash + 1;
    }
}

std::string ParseFolderPath(std::string_view text, InventoryPath& result) {
    if (!ParseInventoryPath(text, result))
        return "the path has an empty name";
    for (const std::string& name : result.names) {
        if (!IsStorableKeyName(name))
            return "\"" + name + "\" cannot be a folder name";
    }
    return {};
}

std::string NodePath(const InventoryModel& model, const InventoryNode& node) {
    std::vector<const std::string*> names{&node.Name};
    for (const FolderNode* parent = model.ParentOf(&node); parent != nullptr; parent = model.ParentOf(parent))
        names.push_back(&parent->Name);
    std::string path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (name != names.rbegin())
            path += '/';
        path += **name;
    }
    return path;
}

FolderNode* FindChildFolder(const InventoryModel& model, const FolderNode* parent, std::string_view name) {
    return static_cast<FolderNode*>(FindChild(model, parent, name, true));
}

InventoryNode* FindInventoryNode(const InventoryModel& model, const InventoryPath& path) {
    if (path.names.empty())
        return nullptr;
    const FolderNode* parent = nullptr;
    for (std::size_t i = 0; i + 1 < path.names.size(); ++i) {
        parent = FindChildFolder(model, parent, path.names[i]);
        if (parent == nullptr)
            return nullptr;
    }
    const std::string& last = path.names.back();
    if (InventoryNode* folder = FindChild(model, parent, last, true))
        return folder;
    return FindChild(model, parent, last, false);
}

bool ShadowsComputer(const InventoryModel& model, const FolderNode& folder) {
    return FindChild(model, model.ParentOf(&folder), folder.Name, false) != nullptr;
}

InventoryPath PathOf(const InventoryModel& model, const FolderNode* folder) {
    InventoryPath path;
    for (; folder != nullptr; folder = model.ParentOf(folder))
        path.names.push_back(folder->Name);
    std::reverse(path.names.begin(), path.names.end());
    return path;
}

bool FindFolderPath(const InventoryModel& model, const InventoryPath& path, FolderNode*& folder) {
    folder = nullptr;
    for (const std::string& name : path.names) {
        folder = FindChildFolder(model, folder, name);
        if (folder == nullptr)
            return false;
    }
    return true;
}

FolderNode* MakeFolderPath(InventoryModel& model, const InventoryPath& path, std::vector<FolderNode*>& created) {
    FolderNode* parent = nullptr;
    for (const std::string& name : path.names) {
        FolderNode* folder = FindChildFolder(model, parent, name);
        if (folder == nullptr) {
            folder = static_cast<FolderNode*>(model.InsertNode(parent, std::make_unique<FolderNode>(name), false));
            created.push_back(folder);
        }
        parent = folder;
    }
    return parent;
}

}  // namespace vn::cli
