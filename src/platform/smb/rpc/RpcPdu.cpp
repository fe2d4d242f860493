#include "platform/smb/rpc/RpcPdu.h"

#include <stdexcept>

#include "platform/HexDigit.h"
#include "platform/smb/rpc/NdrReader.h"
#include "platform/smb/rpc/NdrWriter.h"

namespace vn::smb {

namespace {

constexpr std::uint8_t kDataRepresentation[4] = {0x10, 0, 0, 0};  // little-endian, ASCII, IEEE

int HexDigit(char c) {
    const int value = HexDigitValue(c);
    if (value < 0)
        throw std::invalid_argument("bad UUID");
    return value;
}

void WriteHeader(NdrWriter& w, PduType type, std::uint8_t flags, std::uint32_t callId) {
    w.U8(5);
    w.U8(0);
    w.U8(static_cast<std::uint8_t>(type));
    w.U8(flags);
    w.Bytes(kDataRepresentation, sizeof kDataRepresentation);
    w.U16(0);  // fragment length, patched when the PDU is complete
    w.U16(0);
    w.U32(callId);
}

std::vector<std::uint8_t> Finish(const NdrWriter& w) {
    std::vector<std::uint8_t> pdu = w.data();
    pdu[8] = static_cast<std::uint8_t>(pdu.size());
    pdu[9] = static_cast<std::uint8_t>(pdu.size() >> 8);
    return pdu;
}

void WriteSyntax(NdrWriter& w, const RpcSyntaxId& syntax) {
    // The UUID's first three fields are little-endian integers on the wire.
    const auto& u = syntax.uuid;
    const std::uint8_t wire[16] = {u[3], u[2], u[1],  u[0],  u[5],  u[4],  u[7],  u[6],
                                   u[8], u[9], u[10], u[11], u[12], u[13], u[14], u[15]};
    w.Bytes(wire, sizeof wire);
    w.U16(syntax.major);
    w.U16(syntax.minor);
}

const RpcSyntaxId& NdrTransferSyntax() {
    static const RpcSyntaxId syntax = RpcSyntaxId::FromString("8a885d04-1ceb-11c9-9fe8-08002b104860", 2, 0);
    return syntax;
}

}  // namespace

RpcSyntaxId RpcSyntaxId::FromString(std::string_view text, std::uint16_t major, std::uint16_t minor) {
    RpcSyntaxId id;
    id.major = major;
    id.minor = minor;
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '-')
            continue;
        if (out >= 16 || i + 1 >= text.size())
            throw std::invalid_argument("bad UUID");
        id.uuid[out++] = static_cast<std::uint8_t>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1]));
        ++i;
    }
    if (out != 16)
        throw std::invalid_argument("bad UUID");
    return id;
}

std::vector<std::uint8_t> BuildBind(std::uint32_t callId, const RpcSyntaxId& abstractSyntax,
                                    std::uint16_t maxFragment) {
    NdrWriter w;
    WriteHeader(w, PduType::Bind, PFC_FIRST_FRAG | PFC_LAST_FRAG, callId);
    w.U16(maxFragment);  // max_xmit_frag
    w.U16(maxFragment);  // max_recv_frag
    w.U32(0);            // assoc_group_id
    w.U8(1);             // n_context_elem
    w.U8(0);
    w.U16(0);
    w.U16(0);  // p_cont_id
    w.U8(1);   // n_transfer_syn
    w.U8(0);
    WriteSyntax(w, abstractSyntax);
    WriteSyntax(w, NdrTransferSyntax());
    return Finish(w);
}

std::vector<std::uint8_t> BuildRequestFragment(std::uint32_t callId, std::uint16_t opnum, std::uint8_t flags,
                                               std::uint32_t allocHint, std::span<const std::uint8_t> stubPart) {
    NdrWriter w;
    WriteHeader(w, PduType::Request, flags, callId);
    w.U32(allocHint);
    w.U16(0);  // p_cont_id
    w.U16(opnum);
    w.Bytes(stubPart.data(), stubPart.size());
    return Finish(w);
}

Status ParsePduHeader(std::span<const std::uint8_t> bytes, PduHeader& header) {
    if (bytes.size() < kPduHeaderSize)
        return RPC_S_PROTOCOL_ERROR;
    if (bytes[0] != 5 || bytes[1] != 0 || (bytes[4] & 0xF0) != 0x10)
        return RPC_S_PROTOCOL_ERROR;
    NdrReader r(bytes.first(kPduHeaderSize));
    r.U16();
    header.type = static_cast<PduType>(r.U8());
    header.flags = r.U8();
    r.U32();
    header.fragLength = r.U16();
    header.authLength = r.U16();
    header.callId = r.U32();
    if (header.fragLength < kPduHeaderSize)
        return RPC_S_PROTOCOL_ERROR;
    return ERROR_SUCCESS;
}

Status ParseBindAck(std::span<const std::uint8_t> body, BindAck& ack) {
    // Offsets inside the body are aligned as in the whole PDU, whose common
    // header is 16 bytes: alignment relative to the body is the same.
    try {
        NdrReader r(body);
        ack.maxXmitFrag = r.U16();
        ack.maxRecvFrag = r.U16();
        r.U32();  // assoc_group_id
        const std::uint16_t addressLength = r.U16();
        r.ByteVector(addressLength);
        r.Align(4);
        const std::uint8_t results = r.U8();
        r.U8();
        r.U16();
        if (results < 1)
            return RPC_S_PROTOCOL_ERROR;
        const std::uint16_t result = r.U16();
        ack.accepted = result == 0;
        return ERROR_SUCCESS;
    } catch (const NdrError&) {
        return RPC_S_PROTOCOL_ERROR;
    }
}

Status ResponseStub(std::span<const std::uint8_t> body, std::span<const std::uint8_t>& stub) {
    constexpr std::size_t kFields = kResponseHeaderSize - kPduHeaderSize;
    if (body.size() < kFields)
        return RPC_S_PROTOCOL_ERROR;
    stub = body.subspan(kFields);
    return ERROR_SUCCESS;
}

Status FaultStatus(std::span<const std::uint8_t> body) {
    if (body.size() < 12)
        return RPC_S_PROTOCOL_ERROR;
    NdrReader r(body);
    r.U32();
    r.U32();
    const std::uint32_t status = r.U32();
    switch (status) {
    case 0x1C010002: return RPC_S_PROCNUM_OUT_OF_RANGE;  // nca_s_op_rng_error
    case 0x1C010003: return RPC_S_UNKNOWN_IF;            // nca_s_unk_if
    case 0x1C00001A:                                     // nca_s_fault_ndr (old form)
    case RPC_X_BAD_STUB_DATA: return RPC_X_BAD_STUB_DATA;
    default:
        // Windows codes come through as they are; other runtime codes do not
        // name anything the caller could act upon.
        return status != 0 && status < 0x10000 ? status : RPC_S_CALL_FAILED;
    }
}

}  // namespace vn::smb
