#include "cli/TerminalText.h"

#include <algorithm>
#include <cstdio>

#include "cli/Utf8Scan.h"

namespace vn::cli {
namespace {

void AppendHex(std::string& out, unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\x%02X", value);
    out += buffer;
}

}  // namespace

std::string TerminalText(std::string_view text) {
    // Most text is printable ASCII already, which stays as it is.
    const bool plain =
        std::all_of(text.begin(), text.end(), [](char c) { return (c >= 0x20 && c < 0x7F) || c == '\t'; });
    if (plain)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    bool pendingReturn = false;
    ScanUtf8(text, [&](const Utf8Piece& piece) {
        if (pendingReturn && !(piece.valid && piece.codePoint == '\n'))
            AppendHex(out, '\r');
        pendingReturn = false;
        if (!piece.valid) {
            for (const char byte : piece.bytes)
                AppendHex(out, static_cast<unsigned char>(byte));
            return;
        }
        const char32_t code = piece.codePoint;
        if (code == '\r') {
            pendingReturn = true;  // kept only when no "\n" follows
            return;
        }
        if (code == '\n' || code == '\t') {
            out += piece.bytes;
            return;
        }
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
            AppendHex(out, static_cast<unsigned>(code));
            return;
        }
        out += piece.bytes;
    });
    if (pendingReturn)
        AppendHex(out, '\r');
    return out;
}

}  // namespace vn::cli
