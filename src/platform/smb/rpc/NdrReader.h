#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/Sid.h"
#include "platform/smb/rpc/NdrFields.h"

namespace vn::smb {

// Thrown when a stub does not hold what its declaration says.
class NdrError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Unmarshals NDR from a response stub that came off the network. Every read is
// bounds-checked, and a count is accepted only when the bytes it announces are
// actually present, so no allocation is larger than the stub itself.
class NdrReader {
public:
    explicit NdrReader(std::span<const std::uint8_t> stub) : stub_(stub) {}

    void Align(std::size_t boundary);
    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    void Bytes(std::uint8_t* out, std::size_t size);
    std::vector<std::uint8_t> ByteVector(std::size_t size);

    // A unique pointer's referent id: true when the referent follows.
    bool Pointer() { return U32() != 0; }

    // The maximum count of a conformant array whose elements occupy
    // elementSize bytes each (at least); the elements must fit in the rest.
    std::uint32_t ConformantCount(std::size_t elementSize);

    // Maximum count, offset and actual count of a conformant varying array;
    // returns the actual count (offset must be 0, actual <= maximum).
    std::uint32_t VaryingCount(std::size_t elementSize);

    // [string] wchar_t*: the text without its terminating zeros.
    std::u16string WideString();
    std::u16string WideChars(std::uint32_t count);

    void Defer(std::function<void(NdrReader&)> readReferent);
    void FlushDeferred();

    // A request or response from its declaration: each parameter, then the
    // referents it holds.
    template <class Message>
    void Read(Message& message) {
        Message::Fields(
            message, [this](auto&&... field) { ((Get(std::forward<decltype(field)>(field)), FlushDeferred()), ...); });
    }

    // One field of a declaration (NdrFields.h); integers only into lvalues.
    void Get(std::uint8_t& value) { value = U8(); }
    void Get(std::uint16_t& value) { value = U16(); }
    void Get(std::uint32_t& value) { value = U32(); }
    void Get(std::int32_t& value) { value = static_cast<std::int32_t>(U32()); }
    void Get(std::u16string& text) { text = WideString(); }
    void Get(Sid& sid);  // RPC_SID
    template <HasFields T>
    void Get(T& structure) {
        // this->: clang takes an implicit this in a dependent call for an unused capture.
        T::Fields(structure, [this](auto&&... field) { (this->Get(std::forward<decltype(field)>(field)), ...); });
    }
    template <class Kind>
    requires requires(Kind&& kind, NdrReader& r) { kind.Read(r); }
    void Get(Kind&& kind) { kind.Read(*this); }

    std::size_t Remaining() const { return stub_.size() - offset_; }

private:
    void Need(std::size_t size) const;

    std::span<const std::uint8_t> stub_;
    std::size_t offset_ = 0;
    std::vector<std::function<void(NdrReader&)>> deferred_;
    int depth_ = 0;
};

// Text from the wire ends at its first zero character.
std::u16string TrimAtZero(std::u16string text);

}  // namespace vn::smb
