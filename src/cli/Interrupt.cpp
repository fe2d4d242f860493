#include "cli/Interrupt.h"

#include <atomic>
#include <csignal>

namespace vn::cli {
namespace {

// Written by the signal handler: only a lock-free atomic may be.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);
struct sigaction g_previous {};

extern "C" void NoteInterrupt(int) { g_interrupted.store(true); }

}  // namespace

InterruptCatcher::InterruptCatcher() {
    g_interrupted.store(false);
    struct sigaction action {};
    action.sa_handler = NoteInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &g_previous);
}

InterruptCatcher::~InterruptCatcher() { sigaction(SIGINT, &g_previous, nullptr); }

bool InterruptCatcher::TakeRequest() { return g_interrupted.exchange(false); }

bool InterruptCatcher::Pending() { return g_interrupted.load(); }

}  // namespace vn::cli
