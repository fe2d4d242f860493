#include "platform/smb/Wkssvc.h"

namespace vn::smb::wkssvc {

namespace {
// Four pointers per WKSTA_USER_INFO_1 in the array's scalar part.
constexpr std::size_t kUserInfo1Scalars = 16;
}  // namespace

const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("6bffd098-a112-3610-9833-46c3f87e345a", 1, 0);
    return id;
}

void NetrWkstaGetInfo::Encode(NdrWriter& w) const {
    WriteWideStringParameter(w, ServerName);
    w.U32(Level);
}

void NetrWkstaGetInfoResponse::Decode(NdrReader& r) {
    const std::uint32_t level = r.U32();
    if (r.Pointer()) {
        if (level != 100)
            throw NdrError("unexpected WKSTA_INFO level");
        hasInfo = true;
        WkstaInfo.wki100_platform_id = r.U32();
        ReadWideStringPointer(r, WkstaInfo.wki100_computername);
        ReadWideStringPointer(r, WkstaInfo.wki100_langroup);
        WkstaInfo.wki100_ver_major = r.U32();
        WkstaInfo.wki100_ver_minor = r.U32();
        r.FlushDeferred();
    }
    ErrorCode = r.U32();
}

void NetrWkstaUserEnum::Encode(NdrWriter& w) const {
    WriteWideStringParameter(w, ServerName);
    // WKSTA_USER_ENUM_STRUCT: Level, the union's discriminant, an empty
    // level-1 container (EntriesRead 0, Buffer null).
    w.U32(1);
    w.U32(1);
    w.Pointer(true);
    w.U32(0);
    w.Pointer(false);
    w.U32(PreferredMaximumLength);
    w.Pointer(true);
    w.U32(ResumeHandle);
}

void NetrWkstaUserEnumResponse::Decode(NdrReader& r) {
    const std::uint32_t level = r.U32();
    const std::uint32_t discriminant = r.U32();
    if (level != 1 || discriminant != 1)
        throw NdrError("unexpected WKSTA_USER_INFO level");
    if (r.Pointer()) {
        const std::uint32_t entriesRead = r.U32();
        if (r.Pointer()) {
            const std::uint32_t count = r.ConformantCount(kUserInfo1Scalars);
            if (count != entriesRead)
                throw NdrError("WKSTA_USER_INFO_1 count mismatch");
            Buffer.resize(count);
            for (auto& user : Buffer) {
                ReadWideStringPointer(r, user.wkui1_username);
                ReadWideStringPointer(r, user.wkui1_logon_domain);
                ReadWideStringPointer(r, user.wkui1_oth_domains);
                ReadWideStringPointer(r, user.wkui1_logon_server);
            }
            r.FlushDeferred();
        }
    }
    TotalEntries = r.U32();
    if (r.Pointer())
        ResumeHandle = r.U32();
    ErrorCode = r.U32();
}

}  // namespace vn::smb::wkssvc
