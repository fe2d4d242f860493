#include "platform/local/LocalChildProcess.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <thread>

#include "platform/local/ErrnoStatus.h"

namespace vn {
namespace {

// Without a process descriptor the end of the program is looked for this often.
constexpr int kEndPollMilliseconds = 50;

std::uint32_t ExitCodeOf(int status) {
    if (WIFEXITED(status))
        return static_cast<std::uint32_t>(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return 128u + static_cast<std::uint32_t>(WTERMSIG(status));  // as shells report it
    return 0;
}

void CloseIfOpen(int& fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

}  // namespace

LocalChildProcess::LocalChildProcess(pid_t pid, int processFd, int inputFd, int outputFd)
    : pid_(pid),
      processFd_(processFd),
      wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      inputFd_(inputFd),
      outputFd_(outputFd) {}

LocalChildProcess::~LocalChildProcess() {
    CloseIfOpen(inputFd_);
    CloseIfOpen(outputFd_);
    if (!reaped_) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) != pid_) {
            // The program outlives its handle: a detached waiter collects it
            // when it ends, so that it never stays behind as a zombie.
            std::thread([pid = pid_] {
                int ended = 0;
                while (waitpid(pid, &ended, 0) < 0 && errno == EINTR) {
                }
            }).detach();
        }
    }
    if (wakeFd_ >= 0)
        close(wakeFd_);
    if (processFd_ >= 0)
        close(processFd_);
}

bool LocalChildProcess::HasEnded() {
    std::lock_guard lock(lock_);
    if (reaped_)
        return true;
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return errno == ECHILD;
    return info.si_pid == pid_;
}

LocalChildProcess::Readiness LocalChildProcess::WaitForOutput(int outputFd) {
    pollfd fds[3] = {{outputFd, POLLIN, 0}, {wakeFd_, POLLIN, 0}, {processFd_, POLLIN, 0}};
    const nfds_t count = processFd_ >= 0 ? 3 : 2;
    const int timeout = processFd_ >= 0 ? -1 : kEndPollMilliseconds;
    const int ready = poll(fds, count, timeout);
    if (ready > 0 && fds[0].revents != 0)
        return Readiness::Data;
    if (ready > 0 && count == 3 && fds[2].revents != 0)
        return Readiness::ProgramEnded;
    if (ready == 0 && processFd_ < 0 && HasEnded())
        return Readiness::ProgramEnded;
    return Readiness::Woken;
}

Status LocalChildProcess::ReadOutput(void* buffer, std::size_t size, std::size_t* read) {
    if (!read || (!buffer && size > 0))
        return ERROR_INVALID_PARAMETER;
    *read = 0;
    int fd = -1;
    {
        std::lock_guard lock(lock_);
        if (outputEnded_ || outputFd_ < 0)
            return ERROR_BROKEN_PIPE;
        ++activeReads_;
        fd = outputFd_;
    }
    if (size == 0) {
        LeaveRead(false);
        return ERROR_SUCCESS;
    }
    bool programEnded = false;
    for (;;) {
        const ssize_t count = ::read(fd, buffer, size);
        if (count > 0) {
            *read = static_cast<std::size_t>(count);
            LeaveRead(false);
            return ERROR_SUCCESS;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN) {
            // The pipe is empty: its end is the program's end (its own
            // children may hold the pipe open much longer) or CloseOutput.
            bool closing = false;
            {
                std::lock_guard lock(lock_);
                closing = outputClosing_;
            }
            if (!programEnded && !closing) {
                programEnded = WaitForOutput(fd) == Readiness::ProgramEnded;
                continue;
            }
        }
        // End of file, a failed read, or nothing more to come.
        LeaveRead(true);
        return ERROR_BROKEN_PIPE;
    }
}

void LocalChildProcess::LeaveRead(bool reachedEnd) {
    std::lock_guard lock(lock_);
    --activeReads_;
    if (reachedEnd)
        outputEnded_ = true;
    // The descriptor goes only when no other reader still uses it.
    if (outputEnded_ && activeReads_ == 0)
        CloseIfOpen(outputFd_);
}

void LocalChildProcess::CloseOutput() {
    std::lock_guard lock(lock_);
    outputClosing_ = true;
    if (activeReads_ == 0 && outputFd_ >= 0) {
        // Keep what the pipe holds for a later reader only when there is some.
        pollfd fd{outputFd_, POLLIN, 0};
        if (poll(&fd, 1, 0) == 0 || (fd.revents & POLLIN) == 0) {
            outputEnded_ = true;
            CloseIfOpen(outputFd_);
        }
    }
    // Stays readable from now on, so that no reader waits again.
    const std::uint64_t one = 1;
    if (write(wakeFd_, &one, sizeof one) < 0) {
        // A full counter still wakes every reader.
    }
}

void LocalChildProcess::CloseInput() {
    std::lock_guard lock(inputLock_);
    CloseIfOpen(inputFd_);
}

Status LocalChildProcess::WriteInput(const void* data, std::size_t size) {
    std::lock_guard lock(inputLock_);
    if (inputFd_ < 0)
        return ERROR_INVALID_HANDLE;
    // A reader that has gone must give an error, not a SIGPIPE that ends us.
    sigset_t pipeSignal, previous, pending;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);

    Status status = ERROR_SUCCESS;
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(inputFd_, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            status = StatusFromErrno(errno);
            if (errno == EPIPE && !alreadyPending) {
                const timespec noWait{};
                while (sigtimedwait(&pipeSignal, nullptr, &noWait) < 0 && errno == EINTR) {
                }
            }
            break;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return status;
}

std::uint32_t LocalChildProcess::Wait() {
    {
        std::lock_guard lock(lock_);
        if (reaped_)
            return exitCode_;
    }
    // Wait without collecting, so that Terminate may still signal the
    // process (its id cannot be reused before it is collected) ...
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    // ... then collect it under the lock.
    std::lock_guard lock(lock_);
    if (!reaped_) {
        int status = 0;
        pid_t collected = -1;
        while ((collected = waitpid(pid_, &status, 0)) < 0 && errno == EINTR) {
        }
        // Collected elsewhere in the program: the code is lost.
        exitCode_ = collected == pid_ ? ExitCodeOf(status) : 0xFFFFFFFFu;
        reaped_ = true;
    }
    return exitCode_;
}

void LocalChildProcess::Terminate() {
    std::lock_guard lock(lock_);
    if (reaped_)
        return;
    if (processFd_ < 0 || syscall(SYS_pidfd_send_signal, processFd_, SIGKILL, nullptr, 0) != 0)
        kill(pid_, SIGKILL);
    // The group is the program's own and keeps its number while the program
    // is not collected, so this reaches only what the program started.
    kill(-pid_, SIGKILL);
}

}  // namespace vn
