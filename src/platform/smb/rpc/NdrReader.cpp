#include "platform/smb/rpc/NdrReader.h"

#include <utility>

namespace vn::smb {

namespace {
// Referents nest as deep as the structures that hold them; a hostile stub
// must not be able to recurse without limit.
constexpr int kMaxDeferredDepth = 16;
}  // namespace

void NdrReader::Need(std::size_t size) const {
    if (size > Remaining())
        throw NdrError("stub too short");
}

void NdrReader::Align(std::size_t boundary) {
    const std::size_t padding = (boundary - offset_ % boundary) % boundary;
    Need(padding);
    offset_ += padding;
}

std::uint8_t NdrReader::U8() {
    Need(1);
    return stub_[offset_++];
}

std::uint16_t NdrReader::U16() {
    Align(2);
    Need(2);
    const auto value = static_cast<std::uint16_t>(stub_[offset_] | (stub_[offset_ + 1] << 8));
    offset_ += 2;
    return value;
}

std::uint32_t NdrReader::U32() {
    Align(4);
    Need(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | stub_[offset_ + static_cast<std::size_t>(i)];
    offset_ += 4;
    return value;
}

void NdrReader::Bytes(std::uint8_t* out, std::size_t size) {
    Need(size);
    for (std::size_t i = 0; i < size; ++i)
        out[i] = stub_[offset_ + i];
    offset_ += size;
}

std::vector<std::uint8_t> NdrReader::ByteVector(std::size_t size) {
    Need(size);
    std::vector<std::uint8_t> out(stub_.begin() + static_cast<std::ptrdiff_t>(offset_),
                                  stub_.begin() + static_cast<std::ptrdiff_t>(offset_ + size));
    offset_ += size;
    return out;
}

std::uint32_t NdrReader::ConformantCount(std::size_t elementSize) {
    const std::uint32_t count = U32();
    if (elementSize != 0 && count > Remaining() / elementSize)
        throw NdrError("array larger than the stub");
    return count;
}

std::uint32_t NdrReader::VaryingCount(std::size_t elementSize) {
    const std::uint32_t maximum = U32();
    const std::uint32_t offset = U32();
    const std::uint32_t actual = U32();
    if (offset != 0 || actual > maximum)
        throw NdrError("bad varying array bounds");
    if (elementSize != 0 && actual > Remaining() / elementSize)
        throw NdrError("array larger than the stub");
    return actual;
}

std::u16string NdrReader::WideChars(std::uint32_t count) {
    if (count > Remaining() / 2)
        throw NdrError("string larger than the stub");
    std::u16string text;
    text.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        text.push_back(static_cast<char16_t>(U16()));
    return text;
}

std::u16string NdrReader::WideString() { return TrimAtZero(WideChars(VaryingCount(2))); }

void NdrReader::Get(Sid& sid) {
    const std::uint32_t count = ConformantCount(4);
    sid.revision = U8();
    const std::uint8_t subCount = U8();
    if (subCount != count || count > 15)
        throw NdrError("bad SID");
    std::uint8_t authority[6];
    Bytes(authority, sizeof authority);
    sid.identifierAuthority = 0;
    for (std::uint8_t b : authority)
        sid.identifierAuthority = (sid.identifierAuthority << 8) | b;
    sid.subAuthorities.clear();
    for (std::uint32_t i = 0; i < count; ++i)
        sid.subAuthorities.push_back(U32());
}

void NdrReader::Defer(std::function<void(NdrReader&)> readReferent) { deferred_.push_back(std::move(readReferent)); }

void NdrReader::FlushDeferred() {
    if (++depth_ > kMaxDeferredDepth)
        throw NdrError("referents nested too deeply");
    auto queue = std::move(deferred_);
    deferred_.clear();
    for (auto& readReferent : queue) {
        readReferent(*this);
        FlushDeferred();
    }
    --depth_;
}

std::u16string TrimAtZero(std::u16string text) {
    if (auto zero = text.find(u'\0'); zero != std::u16string::npos)
        text.resize(zero);
    return text;
}

}  // namespace vn::smb
