#include "deploy/ToolOutputLines.h"

namespace vn {

bool ToolOutputLines::ReadLine(ChildProcess& tool, std::string& line) {
    for (;;) {
        char byte = 0;
        std::size_t read = 0;
        if (tool.ReadOutput(&byte, 1, &read) != ERROR_SUCCESS || read == 0)
            return false;
        if (byte == '\n') {
            line = TakeBuffered();
            return true;
        }
        if (byte == '\0')
            continue;
        buffer_[buffered_++] = byte;
        if (buffered_ == kBufferSize - 1) {
            line = TakeBuffered();
            return true;
        }
    }
}

bool ToolOutputLines::TakeUnfinishedLine(std::string& line) {
    if (buffered_ == 0)
        return false;
    line = TakeBuffered();
    return true;
}

std::string ToolOutputLines::TakeBuffered() {
    std::string line(buffer_.data(), buffered_);
    buffered_ = 0;
    return line;
}

}  // namespace vn
