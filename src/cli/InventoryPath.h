#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "inventory/InventoryModel.h"

namespace vn::cli {

// A PATH of the command line: node names from the top of the tree joined
// with "/"; a leading or trailing "/" changes nothing.
struct InventoryPath {
    std::vector<std::string> names;  // empty: the top level
};

// False when a name between two slashes is empty.
bool ParseInventoryPath(std::string_view text, InventoryPath& result);

// Reads a path of folders to be made: empty when it can be used, otherwise
// why not (an empty name, or one the registry cannot take as a key name).
std::string ParseFolderPath(std::string_view text, InventoryPath& result);

// The names from the top down to node, joined with "/".
std::string NodePath(const InventoryModel& model, const InventoryNode& node);

// The node a path names, comparing names without regard to case; null when
// there is none (or the path is empty). Every name but the last is a folder;
// the last is a folder or, when there is no folder of that name, a computer.
// (A saved tree never has both: their registry keys would be one.)
InventoryNode* FindInventoryNode(const InventoryModel& model, const InventoryPath& path);

// The sibling folder of that name under parent (null: the top level), or null.
FolderNode* FindChildFolder(const InventoryModel& model, const FolderNode* parent, std::string_view name);

// Whether a sibling computer has the folder's name: the computer could not
// be saved beside it (their registry keys would be one).
bool ShadowsComputer(const InventoryModel& model, const FolderNode& folder);

// The path of a folder; the empty path for null (the top level).
InventoryPath PathOf(const InventoryModel& model, const FolderNode* folder);

// The folder a path names into folder (null for the empty path); false when
// one of its folders is missing.
bool FindFolderPath(const InventoryModel& model, const InventoryPath& path, FolderNode*& folder);

// The folder a path names, made with every missing folder above it; the
// folders made are appended to created, top first. Null for the empty path.
FolderNode* MakeFolderPath(InventoryModel& model, const InventoryPath& path, std::vector<FolderNode*>& created);

}  // namespace vn::cli
