#include "platform/smb/rpc/NdrTypes.h"

#include <algorithm>

namespace vn::smb {

bool ContextHandle::IsNull() const {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

void ContextHandle::Write(NdrWriter& w) const {
    w.Align(4);
    w.Bytes(bytes.data(), bytes.size());
}

void ContextHandle::Read(NdrReader& r) {
    r.Align(4);
    r.Bytes(bytes.data(), bytes.size());
}

void WriteUnicodeString(NdrWriter& w, std::u16string_view text, bool withTerminator) {
    const std::size_t chars = text.size() + (withTerminator ? 1 : 0);
    if (chars * 2 > 0xFFFF)
        throw NdrError("string too long for RPC_UNICODE_STRING");
    const auto bytes = static_cast<std::uint16_t>(chars * 2);
    w.U16(bytes);
    w.U16(bytes);
    w.Pointer(true);
    const std::u16string copy(text);
    w.Defer([copy, chars](NdrWriter& out) {
        out.U32(static_cast<std::uint32_t>(chars));
        out.U32(0);
        out.U32(static_cast<std::uint32_t>(chars));
        for (char16_t c : copy)
            out.U16(c);
        if (chars > copy.size())
            out.U16(0);
    });
}

void UnicodeBuffer::Write(NdrWriter& w) const {
    w.U16(0);
    w.U16(maximumBytes);
    w.Pointer(true);
    w.Defer([count = maximumBytes / 2u](NdrWriter& out) {
        out.U32(count);
        out.U32(0);
        out.U32(0);
    });
}

void ReadUnicodeString(NdrReader& r, std::u16string& target) {
    const std::uint16_t length = r.U16();
    const std::uint16_t maximum = r.U16();
    if (length > maximum || length % 2 != 0)
        throw NdrError("bad RPC_UNICODE_STRING lengths");
    target.clear();
    if (!r.Pointer())
        return;
    r.Defer([&target, length](NdrReader& in) {
        const std::uint32_t count = in.VaryingCount(2);
        if (count != length / 2u)
            throw NdrError("RPC_UNICODE_STRING length mismatch");
        target = TrimAtZero(in.WideChars(count));
    });
}

}  // namespace vn::smb
