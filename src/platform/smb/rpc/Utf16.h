#pragma once

#include <string>
#include <string_view>

namespace vn::smb {

// UTF-8 <-> UTF-16 for the wire. Malformed input becomes U+FFFD instead of
// failing: names from a remote host are shown, never trusted.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace vn::smb
