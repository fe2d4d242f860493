#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

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

    const std::vector<std::uint8_t>& data() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::vector<std::function<void(NdrWriter&)>> deferred_;
    std::uint32_t nextReferentId_ = 0x00020000;
};

}  // namespace vn::smb
