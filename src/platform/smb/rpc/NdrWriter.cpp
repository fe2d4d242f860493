#include "platform/smb/rpc/NdrWriter.h"

#include <utility>

namespace vn::smb {

void NdrWriter::Align(std::size_t boundary) {
    while (bytes_.size() % boundary != 0)
        bytes_.push_back(0);
}

void NdrWriter::U8(std::uint8_t value) { bytes_.push_back(value); }

void NdrWriter::U16(std::uint16_t value) {
    Align(2);
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void NdrWriter::U32(std::uint32_t value) {
    Align(4);
    for (int shift = 0; shift < 32; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
}

void NdrWriter::Bytes(const std::uint8_t* data, std::size_t size) { bytes_.insert(bytes_.end(), data, data + size); }

void NdrWriter::Pointer(bool present) {
    if (!present) {
        U32(0);
        return;
    }
    U32(nextReferentId_);
    nextReferentId_ += 4;
}

void NdrWriter::WideString(std::u16string_view text) {
    const auto count = static_cast<std::uint32_t>(text.size() + 1);
    U32(count);
    U32(0);
    U32(count);
    for (char16_t c : text)
        U16(c);
    U16(0);
}

void NdrWriter::Put(const Sid& sid) {
    const auto count = static_cast<std::uint32_t>(sid.subAuthorities.size());
    U32(count);
    U8(sid.revision);
    U8(static_cast<std::uint8_t>(count));
    for (int shift = 40; shift >= 0; shift -= 8)
        U8(static_cast<std::uint8_t>(sid.identifierAuthority >> shift));
    for (std::uint32_t sub : sid.subAuthorities)
        U32(sub);
}

void NdrWriter::Defer(std::function<void(NdrWriter&)> writeReferent) { deferred_.push_back(std::move(writeReferent)); }

void NdrWriter::FlushDeferred() {
    auto queue = std::move(deferred_);
    deferred_.clear();
    for (auto& writeReferent : queue) {
        writeReferent(*this);
        FlushDeferred();
    }
}

}  // namespace vn::smb
