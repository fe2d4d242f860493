#pragma once

#include <memory>

#include "platform/Processes.h"
#include "platform/local/LocalChildProcess.h"

namespace vn {

// Starts programs of this computer without a shell (posix_spawn). The
// command line is split by the Windows rules (SplitCommandLine) and its
// first argument becomes argv[0]. A relative program path is taken from this
// program's current directory, as CreateProcess does, not from the working
// directory given to the child; an empty program runs the command line's
// first argument, looked up on PATH when it holds no "/". The child gets our
// environment, its standard input on one pipe and standard output and error
// on another, default signal handling, a process group of its own (led by
// it), and no other descriptor of ours.
//
// Codes: a missing program 2, a missing path component 3, a program that
// cannot be run 5 (or 193 for a file of no known format), a working
// directory that is missing or not a directory 267.
class LocalProcesses : public Processes {
public:
    [[nodiscard]] Status Start(std::string_view program, std::string_view commandLine,
                               std::string_view workingDirectory, std::unique_ptr<ChildProcess>& result) override;

    // The same, giving the local child with its extra operations.
    [[nodiscard]] Status StartLocal(std::string_view program, std::string_view commandLine,
                                    std::string_view workingDirectory, std::unique_ptr<LocalChildProcess>& result);
};

}  // namespace vn
