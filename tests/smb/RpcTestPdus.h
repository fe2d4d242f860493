#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/smb/rpc/NdrWriter.h"
#include "platform/smb/rpc/RpcPdu.h"

namespace vn::smb::testing {

// Server-side PDUs, built the way a server would send them.
inline std::vector<std::uint8_t> ServerPdu(PduType type, std::uint8_t flags, std::uint32_t callId,
                                           const std::vector<std::uint8_t>& body) {
    NdrWriter w;
    w.U8(5);
    w.U8(0);
    w.U8(static_cast<std::uint8_t>(type));
    w.U8(flags);
    const std::uint8_t drep[4] = {0x10, 0, 0, 0};
    w.Bytes(drep, 4);
    w.U16(static_cast<std::uint16_t>(16 + body.size()));
    w.U16(0);
    w.U32(callId);
    w.Bytes(body.data(), body.size());
    return w.data();
}

inline std::vector<std::uint8_t> BindAckPdu(std::uint32_t callId, std::uint16_t maxRecv, std::uint16_t result = 0) {
    NdrWriter w;
    w.U16(maxRecv);  // max_xmit_frag
    w.U16(maxRecv);  // max_recv_frag
    w.U32(0x1234);
    const char port[] = "\\PIPE\\winreg";
    w.U16(sizeof port);
    w.Bytes(reinterpret_cast<const std::uint8_t*>(port), sizeof port);
    // The body starts 16 bytes into the PDU, so body alignment is PDU alignment.
    w.Align(4);
    w.U8(1);
    w.U8(0);
    w.U16(0);
    w.U16(result);
    w.U16(0);
    const std::uint8_t syntax[20] = {};
    w.Bytes(syntax, sizeof syntax);
    return ServerPdu(PduType::BindAck, PFC_FIRST_FRAG | PFC_LAST_FRAG, callId, w.data());
}

inline std::vector<std::uint8_t> ResponsePdu(std::uint32_t callId, std::uint8_t flags,
                                             std::span<const std::uint8_t> stubPart) {
    NdrWriter w;
    w.U32(static_cast<std::uint32_t>(stubPart.size()));
    w.U16(0);
    w.U8(0);
    w.U8(0);
    w.Bytes(stubPart.data(), stubPart.size());
    return ServerPdu(PduType::Response, flags, callId, w.data());
}

inline std::vector<std::uint8_t> FaultPdu(std::uint32_t callId, std::uint32_t status) {
    NdrWriter w;
    w.U32(0);
    w.U16(0);
    w.U8(0);
    w.U8(0);
    w.U32(status);
    w.U32(0);
    return ServerPdu(PduType::Fault, PFC_FIRST_FRAG | PFC_LAST_FRAG, callId, w.data());
}

}  // namespace vn::smb::testing
