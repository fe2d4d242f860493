#include "deploy/ToolOutputLines.h"

#include <algorithm>
#include <cstring>

namespace vn {

bool ToolOutputLines::ReadLines(ChildProcess& tool, std::vector<std::string>& lines) {
    std::size_t read = 0;
    if (tool.ReadOutput(block_.data(), block_.size(), &read) != ERROR_SUCCESS || read == 0)
        return false;
    CutLines(std::min(read, block_.size()), lines);
    return true;
}

void ToolOutputLines::CutLines(std::size_t filled, std::vector<std::string>& lines) {
    const char* next = block_.data();
    const char* const end = next + filled;
    while (next < end) {
        // The line feed of a line handed on at the limit ends no second line.
        if (cutAtLimit_ && *next == '\n')
            ++next;
        cutAtLimit_ = false;
        // Never more than fills the line under way.
        const std::size_t span = std::min<std::size_t>(end - next, kLineLimit - partial_.size());
        const auto* feed = static_cast<const char*>(std::memchr(next, '\n', span));
        Append(next, feed != nullptr ? feed : next + span);
        next = feed != nullptr ? feed + 1 : next + span;
        if (feed != nullptr || partial_.size() == kLineLimit) {
            cutAtLimit_ = feed == nullptr;
            lines.push_back(std::move(partial_));
            partial_.clear();
        }
    }
}

void ToolOutputLines::Append(const char* begin, const char* end) {
    while (begin < end) {
        const auto* zero = static_cast<const char*>(std::memchr(begin, '\0', end - begin));
        partial_.append(begin, zero != nullptr ? zero : end);
        begin = zero != nullptr ? zero + 1 : end;
    }
}

bool ToolOutputLines::TakeUnfinishedLine(std::string& line) {
    cutAtLimit_ = false;
    if (partial_.empty())
        return false;
    line = std::move(partial_);
    partial_.clear();
    return true;
}

}  // namespace vn
