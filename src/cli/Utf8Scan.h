#pragma once

#include <functional>
#include <string_view>

namespace vn::cli {

// One step of a UTF-8 scan: a whole, well-formed character (valid, with its
// code point), or a run of bytes that cannot start or finish one (not valid;
// it stands for one U+FFFD, as the Unicode "maximal subpart" practice has it).
struct Utf8Piece {
    std::string_view bytes;
    char32_t codePoint = 0;
    bool valid = false;
};

// Walks text in order. Overlong forms, surrogates and values past U+10FFFF
// are not valid.
void ScanUtf8(std::string_view text, const std::function<void(const Utf8Piece&)>& visit);

}  // namespace vn::cli
