#include <gtest/gtest.h>

#include <cerrno>

#include "platform/SystemErrorText.h"
#include "platform/local/ErrnoStatus.h"
#include "platform/local/LocalStatusCodes.h"

namespace vn {
namespace {

TEST(ErrnoStatusTest, SystemErrorsMapToTheirWindowsCodes) {
    EXPECT_EQ(StatusFromErrno(ENOENT), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(StatusFromErrno(ENOTDIR), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(StatusFromErrno(EACCES), ERROR_ACCESS_DENIED);
    EXPECT_EQ(StatusFromErrno(EROFS), ERROR_ACCESS_DENIED);
    EXPECT_EQ(StatusFromErrno(ENOEXEC), ERROR_BAD_EXE_FORMAT);
    EXPECT_EQ(StatusFromErrno(ENOSPC), ERROR_DISK_FULL);
    EXPECT_EQ(StatusFromErrno(EPIPE), ERROR_BROKEN_PIPE);
    EXPECT_EQ(StatusFromErrno(EPROTO), ERROR_GEN_FAILURE);
}

TEST(ErrnoStatusTest, EveryCodeThisBackendGivesHasItsSystemText) {
    for (Status code : {ERROR_TOO_MANY_OPEN_FILES,
                        ERROR_GEN_FAILURE,
                        ERROR_DISK_FULL,
                        ERROR_BAD_PATHNAME,
                        ERROR_BUSY,
                        ERROR_ALREADY_EXISTS,
                        ERROR_BAD_EXE_FORMAT,
                        ERROR_FILENAME_EXCED_RANGE,
                        ERROR_DIRECTORY,
                        ERROR_BADDB,
                        ERROR_CANTWRITE,
                        ERROR_REGISTRY_IO_FAILED,
                        ERROR_KEY_DELETED,
                        ERROR_INVALID_HANDLE,
                        ERROR_NOT_ENOUGH_MEMORY,
                        ERROR_BROKEN_PIPE,
                        ERROR_MORE_DATA,
                        ERROR_NO_MORE_ITEMS,
                        ERROR_BAD_NETPATH,
                        ERROR_NONE_MAPPED}) {
        EXPECT_EQ(SystemErrorText(code).find("Unknown error"), std::string::npos) << code;
    }
}

}  // namespace
}  // namespace vn
