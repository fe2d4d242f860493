#include "platform/smb/Lsarpc.h"

namespace vn::smb::lsarpc {

namespace {
// Scalar sizes of the array elements, for the bounds check of their counts.
constexpr std::size_t kTrustInformationScalars = 12;
constexpr std::size_t kTranslatedSidScalars = 12;
}  // namespace

const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("12345778-1234-abcd-ef00-0123456789ab", 0, 0);
    return id;
}

void LsarClose::Encode(NdrWriter& w) const { ObjectHandle.Encode(w); }

void LsarCloseResponse::Decode(NdrReader& r) {
    ObjectHandle.Decode(r);
    Status = r.U32();
}

void LsarOpenPolicy2::Encode(NdrWriter& w) const {
    WriteWideStringParameter(w, SystemName);
    // LSAPR_OBJECT_ATTRIBUTES, all empty; the server ignores it.
    w.U32(24);
    w.Pointer(false);  // RootDirectory
    w.Pointer(false);  // ObjectName
    w.U32(0);          // Attributes
    w.Pointer(false);  // SecurityDescriptor
    w.Pointer(false);  // SecurityQualityOfService
    w.U32(DesiredAccess);
}

void LsarOpenPolicy2Response::Decode(NdrReader& r) {
    PolicyHandle.Decode(r);
    Status = r.U32();
}

void LsarLookupNames::Encode(NdrWriter& w) const {
    PolicyHandle.Encode(w);
    const auto count = static_cast<std::uint32_t>(Names.size());
    w.U32(count);
    w.U32(count);  // conformance of Names
    for (const auto& name : Names)
        WriteUnicodeString(w, name, false);
    w.FlushDeferred();
    w.U32(0);          // TranslatedSids.Entries
    w.Pointer(false);  // TranslatedSids.Sids
    w.U16(LookupLevel);
    w.U32(0);  // MappedCount
}

void LsarLookupNamesResponse::Decode(NdrReader& r) {
    if (r.Pointer()) {  // LSAPR_REFERENCED_DOMAIN_LIST
        const std::uint32_t entries = r.U32();
        const bool hasDomains = r.Pointer();
        r.U32();  // MaxEntries
        if (hasDomains) {
            const std::uint32_t count = r.ConformantCount(kTrustInformationScalars);
            if (count != entries)
                throw NdrError("domain list count mismatch");
            ReferencedDomains.resize(count);
            for (auto& domain : ReferencedDomains) {
                ReadUnicodeString(r, domain.Name);
                if (r.Pointer()) {
                    domain.hasSid = true;
                    r.Defer([&domain](NdrReader& in) { ReadSid(in, domain.DomainSid); });
                }
            }
            r.FlushDeferred();
        }
    }
    const std::uint32_t entries = r.U32();
    if (r.Pointer()) {
        const std::uint32_t count = r.ConformantCount(kTranslatedSidScalars);
        if (count != entries)
            throw NdrError("translated SID count mismatch");
        TranslatedSids.resize(count);
        for (auto& sid : TranslatedSids) {
            sid.Use = r.U16();
            sid.RelativeId = r.U32();
            sid.DomainIndex = static_cast<std::int32_t>(r.U32());
        }
    }
    MappedCount = r.U32();
    Status = r.U32();
}

}  // namespace vn::smb::lsarpc
