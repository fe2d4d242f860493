#include "update/LastError.h"

namespace vn {
namespace {

thread_local Status t_lastError = ERROR_SUCCESS;

}  // namespace

Status GetLastError() { return t_lastError; }

void SetLastError(Status status) { t_lastError = status; }

}  // namespace vn
