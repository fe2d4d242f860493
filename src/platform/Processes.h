#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Status.h"

namespace vn {

// A started program whose standard input and output are pipes to us.
// Destroying it closes our pipe ends; it does not end the program.
class ChildProcess {
public:
    virtual ~ChildProcess() = default;

    // Reads up to size bytes of the program's standard output (and error).
    // 0 with *read > 0 on data; ERROR_BROKEN_PIPE (109) once the output has
    // ended and every writer has gone.
    [[nodiscard]] virtual Status ReadOutput(void* buffer, std::size_t size, std::size_t* read) = 0;

    // Closes our end of the program's standard input.
    virtual void CloseInput() = 0;

    // Closes our end of the program's standard output; a blocked ReadOutput
    // on another thread is not affected.
    virtual void CloseOutput() = 0;

    // Waits without time limit for the program to end and gives its exit code.
    virtual std::uint32_t Wait() = 0;

    // Ends the program at once, with the programs it started that stayed in
    // its process group.
    virtual void Terminate() = 0;
};

class Processes {
public:
    virtual ~Processes() = default;

    // CreateProcess: program is run directly, never through a shell; the
    // command line is split into arguments by the Windows rules (as
    // CommandLineToArgvW does), its first argument becoming argv[0].
    [[nodiscard]] virtual Status Start(std::string_view program, std::string_view commandLine,
                                       std::string_view workingDirectory, std::unique_ptr<ChildProcess>& result) = 0;
};

}  // namespace vn
