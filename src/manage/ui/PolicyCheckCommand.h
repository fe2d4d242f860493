#pragma once

#include <functional>
#include <string>

#include "platform/Platform.h"

class QWidget;

namespace vn {

// Check Group Policies: runs the check of the computer (this computer when
// the name is empty) off the user-interface thread, tells the user why it
// failed, or shows its message and then the policy dialog, modal to parent.
// learnMore is what the dialog's "Learn more..." does.
void RunPolicyCheckCommand(Platform& platform, const std::string& computer, QWidget* parent,
                           const std::function<void()>& learnMore);

}  // namespace vn
