#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "cli/CommandContext.h"
#include "cli/InventoryPath.h"
#include "cli/InventoryStore.h"
#include "detect/ComputerScanJob.h"

namespace vn::cli {

// Steps shared by the commands that change the saved tree. A command that
// examines computers does so on a tree loaded beforehand (an examination may
// take minutes, during which the hive stays free for others) and then
// applies its results, by path, to the saved tree as it is at that moment.

// The folder path of --folder (empty without it); empty when it can be
// used, otherwise why not.
std::string FolderOptionProblem(const CommandContext& context, InventoryPath& path);

// Loads the tree to be changed. A tree that could not be read whole is not
// changed, since saving the part that was read would lose the rest: false,
// with the message written.
bool LoadForChange(CommandContext& context, InventoryStore& store);

// Makes the folder of path and the missing ones above it. Refused (false,
// message written) when a new folder would take the name of a sibling
// computer, which could then not be saved; the top level (null) for the
// empty path.
bool MakeFolderForChange(CommandContext& context, InventoryModel& model, const InventoryPath& path, FolderNode*& folder,
                         std::vector<FolderNode*>& created);

// The refusal of a folder at path beside a computer of the same name.
std::string FolderBesideComputerRefusal(const std::string& path);

// Runs change on the saved tree as it stands (InventoryStore::Change).
// kExitDone when it was saved or change asked for nothing to be saved;
// kExitIncomplete, with the message written, when the tree could not be
// read whole or saved.
int ChangeSavedTree(CommandContext& context, InventoryStore& store, const std::function<bool(InventoryModel&)>& change);

// An examined computer as it was placed in the tree, and the path of its folder.
struct ExaminedComputer {
    InventoryPath folder;
    std::unique_ptr<ComputerRecord> record;
};

// Examines entries into the store's tree and prints each computer as
// inventory list does; examined receives a copy of each. kExitIncomplete
// when a computer could not be examined.
int ScanIntoTree(CommandContext& context, InventoryStore& store, std::vector<ScanEntry> entries,
                 std::vector<ExaminedComputer>& examined);

// The worse of two exit statuses.
int WorseStatus(int a, int b);

}  // namespace vn::cli
