#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/Sid.h"
#include "platform/smb/rpc/NdrFields.h"

namespace vn::smb {

// Marshals values in NDR (little-endian, 32-bit referent ids), the encoding of
// MS-RPC request stubs. Alignment is relative to the start of the stub.
// Embedded pointers: the referent is queued with Defer while a structure's
// scalars are written and follows the structure when FlushDeferred runs.
class NdrWriter {
public:
    void Align(std::size_t boundary);
    void U8(std::uint8_t value);
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void Bytes(const std::uint8_t* data, std::size_t size);

    // A unique pointer: 0 when absent, else a fresh non-zero referent id.
    void Pointer(bool present);

    // [string] wchar_t*: maximum count, offset, actual count, the characters
    // and their terminating zero.
    void WideString(std::u16string_view text);

    // Queues the writing of a referent; FlushDeferred writes the queue in
    // order, each referent followed by whatever it queued itself.
    void Defer(std::function<void(NdrWriter&)> writeReferent);
    void FlushDeferred();

    // A request or response from its declaration: each parameter, then the
    // referents it holds.
    template <class Message>
    void Write(const Message& message) {
        Message::Fields(message, [this](const auto&... field) { ((Put(field), FlushDeferred()), ...); });
    }

    // One field of a declaration (NdrFields.h).
    void Put(std::uint8_t value) { U8(value); }
    void Put(std::uint16_t value) { U16(value); }
    void Put(std::uint32_t value) { U32(value); }
    void Put(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void Put(std::u16string_view text) { WideString(text); }
    void Put(const Sid& sid);  // RPC_SID
    template <HasFields T>
    void Put(const T& structure) {
        // this->: clang takes an implicit this in a dependent call for an unused capture.
        T::Fields(structure, [this](const auto&... field) { (this->Put(field), ...); });
    }
    template <class Kind>
    requires requires(const Kind& kind, NdrWriter& w) { kind.Write(w); }
    void Put(const Kind& kind) { kind.Write(*this); }

    const std::vector<std::uint8_t>& data() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::vector<std::function<void(NdrWriter&)>> deferred_;
    std::uint32_t nextReferentId_ = 0x00020000;
};

}  // namespace vn::smb
