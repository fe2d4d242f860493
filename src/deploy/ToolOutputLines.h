#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "platform/Processes.h"

namespace vn {

// The deployment tool's output cut into lines. One byte is read at a time and
// the line feed test follows every byte, so each line is handed on as soon
// as its line feed has arrived. The buffer outlives a tool run.
//
// The buffer is never overrun: a line that fills it (4095 bytes without a
// line feed) is handed on as it stands and the rest follows as further
// lines. Zero bytes are dropped, since no entry of the details can show them.
class ToolOutputLines {
public:
    static constexpr std::size_t kBufferSize = 4096;

    // Reads until a line is complete (true, the line without its line feed; a
    // carriage return before it stays) or the output has ended (false).
    bool ReadLine(ChildProcess& tool, std::string& line);

    // After the output has ended: the bytes of a last line that had no line
    // feed, if any; the buffer is empty afterwards.
    bool TakeUnfinishedLine(std::string& line);

private:
    std::string TakeBuffered();

    std::array<char, kBufferSize> buffer_{};
    std::size_t buffered_ = 0;
};

}  // namespace vn
