#pragma once

#include "platform/smb/helper/HelperSession.h"

namespace vn::smb::helper {

// main() of a helper program: checks that a program of ours started it (its
// process id as the only argument, the socket as descriptor 3), ties the
// helper's life to it, and serves requests with the sessions makeSession gives.
int HelperProcessMain(int argc, char** argv, const SessionFactory& makeSession);

}  // namespace vn::smb::helper
