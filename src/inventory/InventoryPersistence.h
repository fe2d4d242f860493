#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace vn {

class InventoryModel;
class ProductCatalogue;
class Registry;

// Where the tree is kept in the current user's hive: one key per node, named
// by the node, nested like the tree.
inline constexpr std::string_view kInventoryRootKey = "Software\\Vantor Netwarden\\Predefined hosts";

// What kept a save from storing the whole tree: the registry's refusal of a
// write (ERROR_SUCCESS when none), and a text for each node or product left
// out, naming it, its folder and the reason.
struct SaveProblems {
    Status writeFailure = ERROR_SUCCESS;
    std::vector<std::string> leftOut;
};

// Replaces the stored tree with the model's tree. The replacement is one
// write group: when any write fails nothing is committed and the tree stored
// before stays whole. Nodes whose names cannot be key names (empty, holding a
// backslash, longer than 255 bytes) and computers that share their key with a
// sibling folder of the same name are left out; the rest is still committed.
// True when every node was written; otherwise problems (when given) says why.
bool SaveInventory(const InventoryModel& model, Registry& registry, SaveProblems* problems = nullptr);

// Every save marks the stored tree with a new stamp (a value of the root
// key), so a program that kept the stamp of the tree it loaded can tell
// whether another program has saved since. Empty when no tree is stored, or
// one without a stamp.
std::string ReadInventoryStamp(Registry& registry);

enum class SaveResult { Complete, Incomplete, StoredTreeChanged };

// SaveInventory, only while the stored tree still carries expectedStamp:
// the check and the save are one write group, so no other program's save can
// come in between. Otherwise nothing is written: StoredTreeChanged.
// Incomplete when a write failed or a node was left out (as SaveInventory).
SaveResult SaveInventoryIfStampIs(const InventoryModel& model, Registry& registry, std::string_view expectedStamp,
                                  SaveProblems* problems = nullptr);

// Reads the stored tree into the model through InsertNode, so stored
// duplicates merge as at run time. Products the catalogue does not know are
// dropped. Stops at the first node that cannot be read, keeping what was
// inserted so far. True when every stored node was read; false also when no
// tree is stored.
bool LoadInventory(InventoryModel& model, Registry& registry, const ProductCatalogue& catalogue);

}  // namespace vn
