#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "inventory/InventoryModel.h"

namespace vn::cli {

// A PATH of the command line: node names from the top of the tree joined
// with "/". A leading "/" is allowed; a trailing "/" asks for a folder.
struct InventoryPath {
    std::vector<std::string> names;  // empty: the top level
    bool folderOnly = false;
};

// False when a name between two slashes is empty.
bool ParseInventoryPath(std::string_view text, InventoryPath& result);

// The names from the top down to node, joined with "/".
std::string NodePath(const InventoryModel& model, const InventoryNode& node);

enum class PathLookup { Found, Missing, Ambiguous };

// The node a path names, comparing names without regard to case. Every name
// but the last is a folder; the last may be a folder or a computer, and is
// Ambiguous when it could be both (unless folderOnly). The empty path finds
// nothing.
PathLookup FindInventoryNode(const InventoryModel& model, const InventoryPath& path, InventoryNode*& result);

// What to tell the user for a path that names a folder and a computer.
std::string AmbiguousPathMessage(std::string_view pathText);

// The sibling folder of that name under parent (null: the top level), or null.
FolderNode* FindChildFolder(const InventoryModel& model, const FolderNode* parent, std::string_view name);

// Whether a sibling computer has the folder's name: the computer could not
// be saved beside it (their registry keys would be one).
bool ShadowsComputer(const InventoryModel& model, const FolderNode& folder);

// The folder a path names, made with every missing folder above it; the
// folders made are appended to created, top first. Null for the empty path.
FolderNode* MakeFolderPath(InventoryModel& model, const InventoryPath& path, std::vector<FolderNode*>& created);

}  // namespace vn::cli
