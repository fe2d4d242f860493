#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Sid.h"
#include "platform/smb/rpc/NdrTypes.h"
#include "platform/smb/rpc/RpcCallTable.h"
#include "platform/smb/rpc/RpcPdu.h"

// MS-LSAT, account lookups through the LSA (pipe \lsarpc).
namespace vn::smb::lsarpc {

inline const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("12345778-1234-abcd-ef00-0123456789ab", 0, 0);
    return id;
}
inline constexpr const char* kPipe = "lsarpc";

inline constexpr std::uint32_t POLICY_LOOKUP_NAMES = 0x00000800;
inline constexpr std::uint16_t LsapLookupWksta = 1;

struct LsarClose {
    ContextHandle ObjectHandle{};
    static void Fields(auto& m, auto&& ndr) { ndr(m.ObjectHandle); }
};
struct LsarCloseResponse {
    ContextHandle ObjectHandle{};
    std::uint32_t Status = 0;  // NTSTATUS
    static void Fields(auto& m, auto&& ndr) { ndr(m.ObjectHandle, m.Status); }
};

// Goes empty (no pointers, no Attributes): the server ignores it.
struct LSAPR_OBJECT_ATTRIBUTES {
    std::uint32_t Length = 24;
    NullPointer RootDirectory{};
    NullPointer ObjectName{};
    std::uint32_t Attributes = 0;
    NullPointer SecurityDescriptor{};
    NullPointer SecurityQualityOfService{};
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.Length, m.RootDirectory, m.ObjectName, m.Attributes, m.SecurityDescriptor, m.SecurityQualityOfService);
    }
};

struct LsarOpenPolicy2 {
    std::u16string SystemName{};
    LSAPR_OBJECT_ATTRIBUTES ObjectAttributes{};
    std::uint32_t DesiredAccess = POLICY_LOOKUP_NAMES;
    static void Fields(auto& m, auto&& ndr) { ndr(Unique(m.SystemName), m.ObjectAttributes, m.DesiredAccess); }
};
struct LsarOpenPolicy2Response {
    ContextHandle PolicyHandle{};
    std::uint32_t Status = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.PolicyHandle, m.Status); }
};

struct LSA_TRANSLATED_SID {
    std::uint16_t Use = 0;
    std::uint32_t RelativeId = 0;
    std::int32_t DomainIndex = -1;
    static void Fields(auto& m, auto&& ndr) { ndr(m.Use, m.RelativeId, m.DomainIndex); }
};

// Sids is null when there are none.
struct LSAPR_TRANSLATED_SIDS {
    std::uint32_t Entries = 0;
    std::vector<LSA_TRANSLATED_SID> Sids{};
    static void Fields(auto& m, auto&& ndr) { ndr(m.Entries, Unique(Conformant(m.Sids, m.Entries), !m.Sids.empty())); }
};

// Count is the number of Names; TranslatedSids goes empty and MappedCount 0.
struct LsarLookupNames {
    ContextHandle PolicyHandle{};
    std::vector<std::u16string> Names{};
    LSAPR_TRANSLATED_SIDS TranslatedSids{};
    std::uint16_t LookupLevel = LsapLookupWksta;
    std::uint32_t MappedCount = 0;
    static void Fields(auto& m, auto&& ndr) {
        const auto count = static_cast<std::uint32_t>(m.Names.size());
        ndr(m.PolicyHandle, count, Conformant<AsRpcUnicodeString>(m.Names), m.TranslatedSids, m.LookupLevel,
            m.MappedCount);
    }
};

struct LSAPR_TRUST_INFORMATION {
    std::u16string Name{};
    bool hasSid = false;
    Sid DomainSid{};
    static void Fields(auto& m, auto&& ndr) { ndr(RpcUnicodeString(m.Name), Unique(m.DomainSid, m.hasSid)); }
};

struct LSAPR_REFERENCED_DOMAIN_LIST {
    std::uint32_t Entries = 0;
    std::vector<LSAPR_TRUST_INFORMATION> Domains{};
    std::uint32_t MaxEntries = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.Entries, Unique(Conformant(m.Domains, m.Entries), !m.Domains.empty()), m.MaxEntries);
    }
};

struct LsarLookupNamesResponse {
    LSAPR_REFERENCED_DOMAIN_LIST ReferencedDomains{};
    LSAPR_TRANSLATED_SIDS TranslatedSids{};
    std::uint32_t MappedCount = 0;
    std::uint32_t Status = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(Unique(m.ReferencedDomains), m.TranslatedSids, m.MappedCount, m.Status);
    }
};

using Calls = RpcCallTable<RpcOperation<0, LsarClose, LsarCloseResponse>,
                           RpcOperation<14, LsarLookupNames, LsarLookupNamesResponse>,
                           RpcOperation<44, LsarOpenPolicy2, LsarOpenPolicy2Response>>;
Calls CallTableOf(const auto&);

}  // namespace vn::smb::lsarpc
