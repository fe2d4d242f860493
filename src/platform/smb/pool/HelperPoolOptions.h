#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace vn::smb {

// How many helpers, for how long, and how long each remote call may take.
struct HelperPoolOptions {
    // The helper program; empty means the one shipped with the running program.
    std::string program;
    // The subnet scan examines up to 63 computers at once; one more for the window's own calls.
    std::size_t maxHelpers = 64;
    // A helper with no open pipe ends after this long unused.
    std::chrono::milliseconds idleLimit{60'000};
    // Every remote call ends within this: reaching a host and logging on, one
    // RPC call, closing a pipe.
    std::chrono::milliseconds callLimit{8'000};
    // Reading one browse list (name queries, a connection, the list itself).
    std::chrono::milliseconds browseLimit{30'000};
};

}  // namespace vn::smb
