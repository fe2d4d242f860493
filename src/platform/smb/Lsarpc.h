#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Accounts.h"
#include "platform/smb/NdrTypes.h"
#include "platform/smb/RpcPdu.h"

// MS-LSAT, account lookups through the LSA (pipe \lsarpc).
namespace vn::smb::lsarpc {

const RpcSyntaxId& Interface();
inline constexpr const char* kPipe = "lsarpc";

inline constexpr std::uint32_t POLICY_LOOKUP_NAMES = 0x00000800;
inline constexpr std::uint16_t LsapLookupWksta = 1;

struct LsarClose {
    static constexpr std::uint16_t opnum = 0;
    ContextHandle ObjectHandle;
    void Encode(NdrWriter& w) const;
};
struct LsarCloseResponse {
    ContextHandle ObjectHandle;
    std::uint32_t Status = 0;  // NTSTATUS
    void Decode(NdrReader& r);
};

struct LsarOpenPolicy2 {
    static constexpr std::uint16_t opnum = 44;
    std::u16string SystemName;
    std::uint32_t DesiredAccess = POLICY_LOOKUP_NAMES;
    void Encode(NdrWriter& w) const;
};
struct LsarOpenPolicy2Response {
    ContextHandle PolicyHandle;
    std::uint32_t Status = 0;
    void Decode(NdrReader& r);
};

struct LsarLookupNames {
    static constexpr std::uint16_t opnum = 14;
    ContextHandle PolicyHandle;
    std::vector<std::u16string> Names;
    std::uint16_t LookupLevel = LsapLookupWksta;
    void Encode(NdrWriter& w) const;
};

struct LSAPR_TRUST_INFORMATION {
    std::u16string Name;
    bool hasSid = false;
    Sid DomainSid;
};

struct LSA_TRANSLATED_SID {
    std::uint16_t Use = 0;
    std::uint32_t RelativeId = 0;
    std::int32_t DomainIndex = -1;
};

struct LsarLookupNamesResponse {
    std::vector<LSAPR_TRUST_INFORMATION> ReferencedDomains;
    std::vector<LSA_TRANSLATED_SID> TranslatedSids;
    std::uint32_t MappedCount = 0;
    std::uint32_t Status = 0;
    void Decode(NdrReader& r);
};

}  // namespace vn::smb::lsarpc
