#include "platform/smb/rpc/StatusMapping.h"

#include <cerrno>

namespace vn::smb {

namespace {
constexpr Status ERROR_MR_MID_NOT_FOUND = 317;
}  // namespace

Status StatusFromConnectErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EBUSY: return ERROR_NETWORK_BUSY;
    default:
        // Refused, unreachable, silent, unknown name, no such pipe: Windows
        // reports all of them as a network path that was not found. A name
        // that no resolution method knows comes back as EINVAL (our URLs are
        // checked before they are built, so it never means a bad argument).
        return ERROR_BAD_NETPATH;
    }
}

Status StatusFromIoErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case ETIMEDOUT: return ERROR_SEM_TIMEOUT;
    default: return ERROR_NETNAME_DELETED;
    }
}

Status StatusFromNtStatus(std::uint32_t ntStatus) {
    switch (ntStatus) {
    case 0x00000000:
    case 0x00000107: return ERROR_SUCCESS;  // STATUS_SOME_NOT_MAPPED: the caller checks each name
    case 0xC0000008: return ERROR_INVALID_HANDLE;
    case 0xC000000D: return ERROR_INVALID_PARAMETER;
    case 0xC0000017: return ERROR_NOT_ENOUGH_MEMORY;
    case 0xC0000022: return ERROR_ACCESS_DENIED;
    case 0xC0000034: return ERROR_FILE_NOT_FOUND;
    case 0xC0000073: return ERROR_NONE_MAPPED;
    case 0xC000009A: return ERROR_NO_SYSTEM_RESOURCES;
    default: return ERROR_MR_MID_NOT_FOUND;
    }
}

}  // namespace vn::smb
