#pragma once

#include <string>

#include "platform/Status.h"

namespace vn {

// The system's English message for a Windows status code, exactly as the
// system formats it, trailing "\r\n" included. Unknown codes get a generic text.
std::string SystemErrorText(Status code);

}  // namespace vn
