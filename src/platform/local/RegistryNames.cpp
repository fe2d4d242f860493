#include "platform/local/RegistryNames.h"

#include <clocale>
#include <cstdint>
#include <cwctype>
#include <locale.h>

#include "platform/local/LocalStatusCodes.h"

namespace vn {
namespace {

constexpr char kSeparator = '\\';

// Decodes one code point at text[pos], advancing pos; an invalid sequence
// yields its first byte mapped into U+DC80..U+DCFF.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    auto invalid = [&] {
        ++pos;
        return static_cast<char32_t>(0xDC00 + lead);
    };
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return invalid();
    }
    if (pos + length > text.size())
        return invalid();
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return invalid();
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return invalid();
    pos += length;
    return value;
}

// The C library's Unicode case table, independent of the process locale.
locale_t UnicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

char32_t UpperCase(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
    // The registry's table covers the Basic Multilingual Plane only.
    if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF))
        return c;
    if (locale_t locale = UnicodeLocale())
        return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale));
    return c;
}

void AppendUnit(std::string& out, std::uint16_t unit) {
    out.push_back(static_cast<char>(unit >> 8));
    out.push_back(static_cast<char>(unit & 0xFF));
}

}  // namespace

Status SplitKeyPath(std::string_view path, std::vector<std::string>& components) {
    components.clear();
    if (!path.empty() && path.front() == kSeparator)
        return ERROR_BAD_PATHNAME;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find(kSeparator, start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            components.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return ERROR_SUCCESS;
}

std::string FoldRegistryName(std::string_view name) {
    std::string folded;
    folded.reserve(name.size() * 2);
    for (std::size_t pos = 0; pos < name.size();) {
        const char32_t c = UpperCase(DecodeUtf8(name, pos));
        if (c >= 0x10000) {
            const char32_t v = c - 0x10000;
            AppendUnit(folded, static_cast<std::uint16_t>(0xD800 + (v >> 10)));
            AppendUnit(folded, static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            AppendUnit(folded, static_cast<std::uint16_t>(c));
        }
    }
    return folded;
}

}  // namespace vn
