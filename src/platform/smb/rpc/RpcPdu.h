#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Status.h"

// Connection-oriented DCE/RPC PDUs (version 5.0, little-endian NDR, no
// authentication), as they travel over an SMB named pipe.
namespace vn::smb {

// An interface or transfer syntax: UUID and version.
struct RpcSyntaxId {
    std::array<std::uint8_t, 16> uuid{};
    std::uint16_t major = 0;
    std::uint16_t minor = 0;

    // From the textual form "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx".
    static RpcSyntaxId FromString(std::string_view text, std::uint16_t major, std::uint16_t minor);
};

enum class PduType : std::uint8_t { Request = 0, Response = 2, Fault = 3, Bind = 11, BindAck = 12, BindNak = 13 };

inline constexpr std::uint8_t PFC_FIRST_FRAG = 0x01;
inline constexpr std::uint8_t PFC_LAST_FRAG = 0x02;
inline constexpr std::size_t kPduHeaderSize = 16;
inline constexpr std::size_t kRequestHeaderSize = 24;   // common header + alloc hint, context, opnum
inline constexpr std::size_t kResponseHeaderSize = 24;  // common header + alloc hint, context, cancel count
inline constexpr std::uint16_t kDefaultMaxFragment = 4280;

struct PduHeader {
    PduType type = PduType::Request;
    std::uint8_t flags = 0;
    std::uint16_t fragLength = 0;
    std::uint16_t authLength = 0;
    std::uint32_t callId = 0;
};

// Status codes of the RPC runtime that the transport itself produces.
inline constexpr Status RPC_S_UNKNOWN_IF = 1717;
inline constexpr Status RPC_S_CALL_FAILED = 1726;
inline constexpr Status RPC_S_PROTOCOL_ERROR = 1728;
inline constexpr Status RPC_S_PROCNUM_OUT_OF_RANGE = 1745;
inline constexpr Status RPC_X_BAD_STUB_DATA = 1783;

std::vector<std::uint8_t> BuildBind(std::uint32_t callId, const RpcSyntaxId& abstractSyntax, std::uint16_t maxFragment);

// One request fragment carrying part of a stub; allocHint is the stub bytes
// still to come, this fragment's included.
std::vector<std::uint8_t> BuildRequestFragment(std::uint32_t callId, std::uint16_t opnum, std::uint8_t flags,
                                               std::uint32_t allocHint, std::span<const std::uint8_t> stubPart);

// Parses and checks the 16-byte common header: version 5.0, little-endian
// integers, a fragment length that covers at least the header.
[[nodiscard]] Status ParsePduHeader(std::span<const std::uint8_t> bytes, PduHeader& header);

// The body of a bind_ack (everything after the common header): the
// negotiated fragment sizes and whether the first context was accepted.
struct BindAck {
    std::uint16_t maxXmitFrag = 0;
    std::uint16_t maxRecvFrag = 0;
    bool accepted = false;
};
[[nodiscard]] Status ParseBindAck(std::span<const std::uint8_t> body, BindAck& ack);

// A response body's stub bytes (after alloc hint, context id and cancel count).
[[nodiscard]] Status ResponseStub(std::span<const std::uint8_t> body, std::span<const std::uint8_t>& stub);

// The Windows status that a fault PDU's body stands for.
[[nodiscard]] Status FaultStatus(std::span<const std::uint8_t> body);

}  // namespace vn::smb
