#pragma once

#include <vector>

#include "cli/CommandContext.h"
#include "cli/InventoryPath.h"
#include "cli/InventoryStore.h"
#include "detect/ComputerScanJob.h"

namespace vn::cli {

// Steps shared by the commands that change the saved tree.

// The folder path of --folder (empty without it); empty when it can be
// used, otherwise why not.
std::string FolderOptionProblem(const CommandContext& context, InventoryPath& path);

// Loads the tree to be changed. A tree that could not be read whole is not
// changed, since saving the part that was read would lose the rest: false,
// with the message written.
bool LoadForChange(CommandContext& context, InventoryStore& store);

// Makes the folder of path and the missing ones above it. Refused (null,
// message written) when a new folder would take the name of a sibling
// computer, which could then not be saved; the top level (null) for the empty
// path.
bool MakeFolderForChange(CommandContext& context, InventoryStore& store, const InventoryPath& path,
                         FolderNode*& folder, std::vector<FolderNode*>& created);

// Saves the tree; kExitDone, or kExitIncomplete with the message written.
int SaveChanges(CommandContext& context, InventoryStore& store);

// Examines entries into the tree and prints each computer as inventory list
// does. kExitIncomplete when a computer could not be examined.
int ScanIntoTree(CommandContext& context, InventoryStore& store, std::vector<ScanEntry> entries);

// The worse of two exit statuses.
int WorseStatus(int a, int b);

}  // namespace vn::cli
