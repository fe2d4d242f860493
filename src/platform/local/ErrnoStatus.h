#pragma once

#include "platform/Status.h"

namespace vn {

// The Windows code closest to a POSIX errno value.
[[nodiscard]] Status StatusFromErrno(int error);

}  // namespace vn
