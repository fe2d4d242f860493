#include "inventory/BoundedLineReader.h"

namespace vn {
namespace {

constexpr std::size_t kChunkSize = std::size_t{64} * 1024;
constexpr int kEnd = -1;

}  // namespace

bool IsLineSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

BoundedLineReader::BoundedLineReader(std::istream& in, std::size_t limit)
    : in_(in),
      limit_(limit),
      buffer_(kChunkSize) {}

int BoundedLineReader::NextByte() {
    if (position_ == filled_) {
        in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        filled_ = static_cast<std::size_t>(in_.gcount());
        position_ = 0;
        if (filled_ == 0)
            return kEnd;
    }
    return static_cast<unsigned char>(buffer_[position_++]);
}

bool BoundedLineReader::Next(std::string& text, bool& truncated) {
    text.clear();
    truncated = false;
    bool readAnything = false;
    bool leading = true;
    bool endedByNul = false;
    for (int byte = NextByte(); byte != kEnd; byte = NextByte()) {
        readAnything = true;
        const char c = static_cast<char>(byte);
        if (c == '\n')
            return true;
        if (endedByNul)
            continue;
        if (c == '\0') {
            endedByNul = true;
        } else if (leading && IsLineSpace(c)) {
            continue;
        } else if (text.size() < limit_) {
            leading = false;
            text.push_back(c);
        } else if (!IsLineSpace(c)) {
            truncated = true;
        }
    }
    return readAnything;
}

}  // namespace vn
