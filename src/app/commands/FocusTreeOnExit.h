#pragma once

#include "app/context/MainWindowContext.h"

namespace vn {

// Gives the keyboard focus back to the tree when a command ends, whichever
// way it ends.
class FocusTreeOnExit {
public:
    explicit FocusTreeOnExit(MainWindowContext& context) : context_(context) {}
    ~FocusTreeOnExit() { context_.FocusTree(); }
    FocusTreeOnExit(const FocusTreeOnExit&) = delete;
    FocusTreeOnExit& operator=(const FocusTreeOnExit&) = delete;

private:
    MainWindowContext& context_;
};

}  // namespace vn
