#include "platform/NameFolding.h"

#include <locale.h>
#include <clocale>
#include <cstdint>
#include <cwctype>

namespace vn {
namespace {

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

// Code points the registry's table maps: the Basic Multilingual Plane
// without the surrogates (where undecodable bytes stand).
bool InCaseTable(char32_t c) { return c <= 0xFFFF && !(c >= 0xD800 && c <= 0xDFFF); }

char32_t UpperCase(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
    if (!InCaseTable(c))
        return c;
    if (locale_t locale = UnicodeLocale())
        return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale));
    return c;
}

char32_t LowerCase(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    if (!InCaseTable(c))
        return c;
    if (locale_t locale = UnicodeLocale())
        return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale));
    return c;
}

// The next folded code point of text at pos; the common ASCII case without
// a look-up.
char32_t NextFolded(std::string_view text, std::size_t& pos) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
        ++pos;
        return (byte >= 'a' && byte <= 'z') ? byte - ('a' - 'A') : byte;
    }
    return UpperCase(DecodeUtf8(text, pos));
}

}  // namespace

std::string FoldRegistryName(std::string_view name) {
    // Written in place: a name folds to at most two UTF-16 units per byte.
    std::string folded(name.size() * 2, '\0');
    std::size_t out = 0;
    auto append = [&](char32_t unit) {
        folded[out++] = static_cast<char>(unit >> 8);
        folded[out++] = static_cast<char>(unit & 0xFF);
    };
    for (std::size_t pos = 0; pos < name.size();) {
        const char32_t c = NextFolded(name, pos);
        if (c >= 0x10000) {
            const char32_t v = c - 0x10000;
            append(0xD800 + (v >> 10));
            append(0xDC00 + (v & 0x3FF));
        } else {
            append(c);
        }
    }
    folded.resize(out);
    return folded;
}

bool NamesEqualFolded(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (NextFolded(a, i) != NextFolded(b, j))
            return false;
    }
    return i == a.size() && j == b.size();
}

int CompareFoldedNames(std::string_view a, std::string_view b) {
    int tieBreak = 0;  // the first difference of the folded forms
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = NextFolded(a, i);
        const char32_t y = NextFolded(b, j);
        if (x == y)
            continue;
        const char32_t lowerX = LowerCase(x);
        const char32_t lowerY = LowerCase(y);
        if (lowerX != lowerY)
            return lowerX < lowerY ? -1 : 1;
        if (tieBreak == 0)
            tieBreak = x < y ? -1 : 1;
    }
    const bool aLeft = i < a.size();
    const bool bLeft = j < b.size();
    if (aLeft != bLeft)
        return aLeft ? 1 : -1;
    return tieBreak;
}

}  // namespace vn
