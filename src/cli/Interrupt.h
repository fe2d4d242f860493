#pragma once

namespace vn::cli {

// Catches Ctrl+C (SIGINT) while alive: instead of ending the program, the
// signal is noted, to be taken by the event loop that polls for it. The
// earlier handling comes back at destruction.
class InterruptCatcher {
public:
    InterruptCatcher();
    ~InterruptCatcher();
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

    // True once per Ctrl+C since the last call.
    bool TakeRequest();

    // Whether a Ctrl+C is noted and not yet taken; any thread may ask.
    static bool Pending();
};

}  // namespace vn::cli
