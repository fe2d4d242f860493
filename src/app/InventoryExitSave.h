#pragma once

#include <string>

namespace vn {

class InventoryModel;
class Registry;
struct SaveProblems;

// What the window asks when the saved tree changed under it.
inline constexpr const char* kSavedTreeChangedQuestion =
    "The computer tree was saved by another program after this window loaded it.\n\n"
    "Overwrite the saved tree with the tree shown in this window?\n\n"
    "Yes replaces the saved tree; No keeps the saved tree and drops the changes made in this window.";

// Saves the window's tree at exit. When the saved tree no longer carries the
// stamp it had when the window loaded it (another program saved since), the
// user is asked first: Yes overwrites it, No keeps it. The check and the
// save are one write group; a save that comes in while the question is open
// asks again. False when a write failed or a node was left out, with the
// reasons in problems; keeping the stored tree at the user's word is not a
// failure.
bool SaveInventoryAtExit(const InventoryModel& model, Registry& registry, const std::string& loadedStamp,
                         SaveProblems& problems);

}  // namespace vn
