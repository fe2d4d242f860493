#pragma once

#include "platform/Status.h"

namespace vn {

// Further Windows codes that this computer's backend can answer.
inline constexpr Status ERROR_GEN_FAILURE = 31;
inline constexpr Status ERROR_DISK_FULL = 112;
inline constexpr Status ERROR_BAD_PATHNAME = 161;
inline constexpr Status ERROR_BUSY = 170;
inline constexpr Status ERROR_ALREADY_EXISTS = 183;
inline constexpr Status ERROR_BAD_EXE_FORMAT = 193;
inline constexpr Status ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr Status ERROR_DIRECTORY = 267;
inline constexpr Status ERROR_BADDB = 1009;
inline constexpr Status ERROR_CANTWRITE = 1013;
inline constexpr Status ERROR_REGISTRY_IO_FAILED = 1016;
inline constexpr Status ERROR_KEY_DELETED = 1018;

}  // namespace vn
