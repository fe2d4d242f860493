#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace vn {

// Reads lines of untrusted text with bounded memory. Each line loses its
// leading white space; of the rest at most `limit` bytes are kept. A NUL
// byte ends a line's text (the rest of that line is ignored), as it would
// end a C string.
class BoundedLineReader {
public:
    BoundedLineReader(std::istream& in, std::size_t limit);

    // The next line, without its "\n". truncated tells that text other than
    // white space was dropped past the limit. False at the end of the input.
    bool Next(std::string& text, bool& truncated);

private:
    int NextByte();

    std::istream& in_;
    std::size_t limit_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
};

// The white space trimmed from both ends of a line.
bool IsLineSpace(char c);

}  // namespace vn
