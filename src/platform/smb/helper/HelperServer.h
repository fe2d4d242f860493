#pragma once

#include "platform/smb/helper/HelperSession.h"

namespace vn::smb::helper {

// The helper's whole life: reads requests from the socket fd, has the session
// carry them out one at a time and answers each. Returns the process's exit
// status when the program closes its end (0) or breaks the protocol (1).
int RunHelperServer(int fd, const SessionFactory& makeSession);

}  // namespace vn::smb::helper
