#pragma once

#include <cstdint>

#include "platform/Status.h"

namespace vn::smb {

inline constexpr Status ERROR_SEM_TIMEOUT = 121;
inline constexpr Status ERROR_NO_SYSTEM_RESOURCES = 1450;

// The Windows code for an errno from libsmbclient while reaching a host or its
// pipe. libsmbclient reports a refused logon and a refused access alike
// (EACCES), so both become ERROR_ACCESS_DENIED.
Status StatusFromConnectErrno(int error);

// The Windows code for an errno while a pipe is already open.
Status StatusFromIoErrno(int error);

// LsaNtStatusToWinError for the statuses the LSA answers.
Status StatusFromNtStatus(std::uint32_t ntStatus);

}  // namespace vn::smb
