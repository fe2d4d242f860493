#include "platform/smb/Srvsvc.h"

namespace vn::smb::srvsvc {

const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("4b324fc8-1670-01d3-1278-5a47bf6ee188", 3, 0);
    return id;
}

void NetrServerGetInfo::Encode(NdrWriter& w) const {
    WriteWideStringParameter(w, ServerName);
    w.U32(Level);
}

void NetrServerGetInfoResponse::Decode(NdrReader& r) {
    const std::uint32_t level = r.U32();  // union discriminant
    if (r.Pointer()) {
        if (level != 101)
            throw NdrError("unexpected SERVER_INFO level");
        hasInfo = true;
        InfoStruct.sv101_platform_id = r.U32();
        ReadWideStringPointer(r, InfoStruct.sv101_name);
        InfoStruct.sv101_version_major = r.U32();
        InfoStruct.sv101_version_minor = r.U32();
        InfoStruct.sv101_type = r.U32();
        ReadWideStringPointer(r, InfoStruct.sv101_comment);
        r.FlushDeferred();
    }
    ErrorCode = r.U32();
}

}  // namespace vn::smb::srvsvc
