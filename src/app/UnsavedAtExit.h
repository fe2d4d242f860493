#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace vn {

// What the exit could not write (the settings, the tree, the layout) and the
// first reason known. The user is told before the window goes, and may keep
// it open to save the tree another way (Export).
class UnsavedAtExit {
public:
    // Notes what failed; a failure without a status code passes
    // ERROR_SUCCESS as status.
    void Note(std::string_view what, Status status);
    // Adds the texts of what a save left out (the nodes, where and why).
    void NoteLeftOut(const std::vector<std::string>& leftOut);
    bool IsEmpty() const { return what_.empty(); }

    // The question, or empty when everything was written.
    std::string Question() const;
    // Asks it: true when the window may close (everything was written, or
    // the user says so).
    bool ConfirmClose() const;

private:
    std::vector<std::string> what_;
    std::vector<std::string> leftOut_;
    Status reason_ = ERROR_SUCCESS;
};

}  // namespace vn
