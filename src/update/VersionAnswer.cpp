#include "update/VersionAnswer.h"

#include <cstring>
#include <string>

namespace vn {

bool AnnouncesNewerVersion(const char* answer) {
    const char* colon = std::strchr(answer, ':');
    const char* version = colon ? colon + 1 : answer;
    static const std::string own(kProgramVersion);
    return std::strcmp(version, own.c_str()) > 0;
}

}  // namespace vn
