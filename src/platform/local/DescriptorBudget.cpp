#include "platform/local/DescriptorBudget.h"

#include <sys/resource.h>

#include <filesystem>
#include <system_error>

namespace vn {
namespace {

// The descriptors open now; /proc lists them, one entry each.
std::size_t OpenDescriptors() {
    std::error_code error;
    std::size_t count = 0;
    for (std::filesystem::directory_iterator entry("/proc/self/fd", error), end; !error && entry != end;
         entry.increment(error))
        ++count;
    return count;
}

}  // namespace

std::size_t SpareDescriptors() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 0;
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        // A refused raise keeps the soft limit, which is then the bound.
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    const std::size_t used = OpenDescriptors() + kDescriptorReserve;
    return limit.rlim_cur > used ? static_cast<std::size_t>(limit.rlim_cur - used) : 0;
}

}  // namespace vn
