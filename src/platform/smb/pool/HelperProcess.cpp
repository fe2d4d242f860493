#include "platform/smb/pool/HelperProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include "platform/smb/protocol/FrameChannel.h"

extern char** environ;

namespace vn::smb {

namespace {

constexpr int kHelperSocketFd = 3;

// The program's environment for the helper (HOME and KRB5CCNAME lead
// libsmbclient to its configuration and tickets), without a password that
// the program may have been given there.
std::vector<char*> HelperEnvironment() {
    std::vector<char*> variables;
    for (char** variable = environ; variable && *variable; ++variable) {
        if (std::strncmp(*variable, "NETWARDEN_PASSWORD=", 19) != 0)
            variables.push_back(*variable);
    }
    variables.push_back(nullptr);
    return variables;
}

Status SpawnStatus(int error) {
    return error == ENOENT || error == EACCES || error == ENOEXEC ? ERROR_FILE_NOT_FOUND : ERROR_NOT_ENOUGH_MEMORY;
}

}  // namespace

Status HelperProcess::Spawn(const std::string& program, std::unique_ptr<HelperProcess>& result) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return ERROR_NOT_ENOUGH_MEMORY;
    // Above the number it gets in the helper, so that dup2 always makes a
    // copy without close-on-exec.
    const int childEnd = fcntl(ends[1], F_DUPFD_CLOEXEC, kHelperSocketFd + 1);
    close(ends[1]);
    if (childEnd < 0) {
        close(ends[0]);
        return ERROR_NOT_ENOUGH_MEMORY;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, childEnd, kHelperSocketFd);
    // Nothing else of the program's: a descriptor left open by a library
    // without close-on-exec, another helper's socket above all, whose end of
    // file must come when its program goes.
    posix_spawn_file_actions_addclosefrom_np(&actions, kHelperSocketFd + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGINT);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::string parent = std::to_string(getpid());
    std::string path = program;
    char* argv[] = {path.data(), parent.data(), nullptr};
    std::vector<char*> environment = HelperEnvironment();
    pid_t pid = -1;
    const int error = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(childEnd);
    if (error != 0) {
        close(ends[0]);
        return SpawnStatus(error);
    }
    result.reset(new HelperProcess(pid, ends[0]));
    return ERROR_SUCCESS;
}

HelperProcess::~HelperProcess() {
    Kill();
    close(fd_);
}

void HelperProcess::Kill() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (collected_)
        return;
    kill(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    collected_ = true;
}

bool HelperProcess::Alive() {
    std::lock_guard<std::mutex> lock(mutex_);
    // One that died between requests (killed from outside) is noticed
    // before a call is trusted to it.
    int status = 0;
    if (!collected_ && waitpid(pid_, &status, WNOHANG) == pid_)
        collected_ = true;
    return !collected_;
}

HelperProcess::Outcome HelperProcess::Exchange(const helper::Request& request, Clock::time_point deadline,
                                               helper::Reply& reply,
                                               const std::function<bool(helper::BrowseEntry&)>& entry) {
    using helper::FrameChannel;
    if (!Alive())
        return Outcome::Broken;
    FrameChannel channel(fd_);
    std::vector<std::uint8_t> frame = helper::EncodeRequest(request);
    FrameChannel::Result result = channel.Send(frame, deadline);
    if (std::holds_alternative<helper::Logon>(request))
        explicit_bzero(frame.data(), frame.size());
    std::vector<std::uint8_t> body;
    while (result == FrameChannel::Result::Ok) {
        result = channel.Receive(body, deadline);
        if (result != FrameChannel::Result::Ok)
            break;
        if (!helper::DecodeReply(body, reply)) {
            result = FrameChannel::Result::Malformed;
            break;
        }
        auto* found = std::get_if<helper::BrowseEntry>(&reply);
        if (!found)
            return Outcome::Answered;
        if (!entry || !entry(*found)) {
            result = FrameChannel::Result::Malformed;
            break;
        }
    }
    Kill();
    return result == FrameChannel::Result::TimedOut ? Outcome::TimedOut : Outcome::Broken;
}

}  // namespace vn::smb
