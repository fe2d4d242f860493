#pragma once

#include "platform/Status.h"

namespace vn {

// The calling thread's last-error value, as Windows keeps one per thread:
// functions that report failure by their result leave the reason here.
[[nodiscard]] Status GetLastError();
void SetLastError(Status status);

}  // namespace vn
