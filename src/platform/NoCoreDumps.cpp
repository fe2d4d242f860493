#include "platform/NoCoreDumps.h"

#include <sys/prctl.h>

#include <mutex>

namespace vn {
namespace {

std::mutex holdersLock;
int holders = 0;
int dumpableBefore = 1;

void Hold() {
    std::lock_guard lock(holdersLock);
    if (holders++ > 0)
        return;
    dumpableBefore = prctl(PR_GET_DUMPABLE, 0, 0, 0, 0);
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

void Release() {
    std::lock_guard lock(holdersLock);
    if (--holders == 0 && dumpableBefore > 0)
        prctl(PR_SET_DUMPABLE, dumpableBefore, 0, 0, 0);
}

}  // namespace

NoCoreDumps::NoCoreDumps() { Hold(); }

NoCoreDumps::NoCoreDumps(const NoCoreDumps&) { Hold(); }

NoCoreDumps::~NoCoreDumps() { Release(); }

}  // namespace vn
