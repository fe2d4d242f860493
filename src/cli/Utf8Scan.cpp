#include "cli/Utf8Scan.h"

namespace vn::cli {
namespace {

// The bytes a lead byte announces, and the range its first continuation byte
// must fall in to exclude overlong forms, surrogates and values past U+10FFFF.
struct LeadRule {
    std::size_t length;
    unsigned char low;
    unsigned char high;
};

LeadRule RuleFor(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return {2, 0x80, 0xBF};
    if (lead == 0xE0)
        return {3, 0xA0, 0xBF};
    if (lead == 0xED)
        return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {3, 0x80, 0xBF};
    if (lead == 0xF0)
        return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {4, 0x80, 0xBF};
    if (lead == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

}  // namespace

void ScanUtf8(std::string_view text, const std::function<void(const Utf8Piece&)>& visit) {
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            visit(Utf8Piece{text.substr(at, 1), lead, true});
            ++at;
            continue;
        }
        const LeadRule rule = RuleFor(lead);
        if (rule.length == 0) {
            visit(Utf8Piece{text.substr(at, 1), 0, false});
            ++at;
            continue;
        }
        char32_t code = lead & (0x7F >> rule.length);
        std::size_t taken = 1;
        while (taken < rule.length && at + taken < text.size()) {
            const auto next = static_cast<unsigned char>(text[at + taken]);
            const unsigned char low = taken == 1 ? rule.low : 0x80;
            const unsigned char high = taken == 1 ? rule.high : 0xBF;
            if (next < low || next > high)
                break;
            code = (code << 6) | (next & 0x3F);
            ++taken;
        }
        visit(Utf8Piece{text.substr(at, taken), taken == rule.length ? code : 0, taken == rule.length});
        at += taken;
    }
}

}  // namespace vn::cli
