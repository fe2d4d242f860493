#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "platform/Processes.h"

namespace vn {

// A program started by LocalProcesses, its standard input and output (with
// standard error) on pipes.
//
// The end of the output is the program's end, not only the pipe's: once the
// program has ended, ReadOutput gives what the pipe still holds and then
// ERROR_BROKEN_PIPE, even when programs that it started still hold the
// pipe open. CloseOutput never throws away output that was written: it stops
// the waiting for more, a reader (also one blocked on another thread) still
// gets what the pipe holds and then the end; the descriptor is released at
// once when the pipe is empty and no read is under way, otherwise when a
// reader reaches the end, or on destruction. Destruction closes our pipe ends and
// collects the program if it has ended; it never ends the program.
class LocalChildProcess : public ChildProcess {
public:
    // Takes ownership of the descriptors; processFd may be -1 where the
    // system has no process descriptors.
    LocalChildProcess(pid_t pid, int processFd, int inputFd, int outputFd);
    ~LocalChildProcess() override;
    LocalChildProcess(const LocalChildProcess&) = delete;
    LocalChildProcess& operator=(const LocalChildProcess&) = delete;

    [[nodiscard]] Status ReadOutput(void* buffer, std::size_t size, std::size_t* read) override;
    void CloseInput() override;
    void CloseOutput() override;
    std::uint32_t Wait() override;
    void Terminate() override;

    // Writes all of data to the program's standard input; ERROR_BROKEN_PIPE
    // (without a SIGPIPE) when the program no longer reads it. The program
    // only ever reads end-of-file when nothing is written, so the platform
    // interface does not carry this.
    [[nodiscard]] Status WriteInput(const void* data, std::size_t size);

    pid_t Pid() const { return pid_; }

private:
    enum class Readiness { Data, ProgramEnded, Woken };
    Readiness WaitForOutput(int outputFd);
    bool HasEnded();
    void LeaveRead(bool reachedEnd);

    const pid_t pid_;
    const int processFd_;
    const int wakeFd_;  // written by CloseOutput to wake a blocked reader

    std::mutex inputLock_;  // held through a write, so CloseInput waits for it
    int inputFd_;
    std::mutex lock_;
    int outputFd_;
    int activeReads_ = 0;
    bool outputClosing_ = false;
    bool outputEnded_ = false;
    bool reaped_ = false;
    std::uint32_t exitCode_ = 0;
};

}  // namespace vn
