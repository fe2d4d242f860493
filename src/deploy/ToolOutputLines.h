#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/Processes.h"

namespace vn {

// The deployment tool's output cut into lines. The output is read in blocks
// of whatever the pipe holds, and every line a block completes is handed on
// at once, so the details follow the tool as before at a fraction of the
// calls. What is left of a line waits for the next block.
//
// A line is at most kLineLimit bytes: a longer one is handed on in pieces of
// that size (a line of exactly that size is one piece). Zero bytes are
// dropped, since no entry of the details can show them.
class ToolOutputLines {
public:
    static constexpr std::size_t kLineLimit = 4095;
    static constexpr std::size_t kBlockSize = std::size_t{64} * 1024;

    ToolOutputLines() : block_(kBlockSize) {}

    // Reads one block and appends the lines it completes to lines (each
    // without its line feed; a carriage return before it stays). False once
    // the output has ended.
    bool ReadLines(ChildProcess& tool, std::vector<std::string>& lines);

    // After the output has ended: the bytes of a last line that had no line
    // feed, if any; nothing of this output is left afterwards.
    bool TakeUnfinishedLine(std::string& line);

private:
    // Moves the block's bytes into the line under way, handing on each line
    // that is complete.
    void CutLines(std::size_t filled, std::vector<std::string>& lines);
    // Appends [begin, end) to the line under way, leaving out zero bytes.
    void Append(const char* begin, const char* end);

    std::vector<char> block_;
    std::string partial_;
    bool cutAtLimit_ = false;  // the last line handed on was cut at the limit
};

}  // namespace vn
