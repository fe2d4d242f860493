#include "platform/smb/helper/HelperProcessMain.h"

#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/smb/helper/HelperServer.h"

namespace vn::smb::helper {

namespace {

constexpr int kSocketFd = 3;

bool IsSocket(int fd) {
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

}  // namespace

int HelperProcessMain(int argc, char** argv, const SessionFactory& makeSession) {
    char* end = nullptr;
    errno = 0;
    const long parent = argc == 2 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 2 || errno != 0 || !end || *end != '\0' || parent <= 1 || !IsSocket(kSocketFd)) {
        std::fprintf(stderr, "%s is started by VtrNetwarden and netwarden only\n", argc > 0 ? argv[0] : "helper");
        return 2;
    }
    // Killed when the thread that started it ends, which the program's pool
    // keeps for as long as it runs. A parent that is gone already shows as
    // another parent process.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != static_cast<pid_t>(parent))
        return 1;
    // Holds a password: no core dumps, no tracing by other processes.
    prctl(PR_SET_DUMPABLE, 0);
    signal(SIGPIPE, SIG_IGN);
    const int status = RunHelperServer(kSocketFd, makeSession);
    // No exit handlers: nothing of the libraries' teardown matters to a process that ends.
    _exit(status);
}

}  // namespace vn::smb::helper
