#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Accounts.h"
#include "platform/smb/NdrReader.h"
#include "platform/smb/NdrWriter.h"

// Marshalling of the few composite types that several RPC interfaces share.
namespace vn::smb {

// A context handle (policy handle): 20 opaque bytes chosen by the server.
struct ContextHandle {
    std::array<std::uint8_t, 20> bytes{};

    bool IsNull() const;
    void Encode(NdrWriter& w) const;
    void Decode(NdrReader& r);
};

// RPC_UNICODE_STRING: lengths in bytes, then a pointer to a conformant varying
// array of characters. The registry counts the terminating zero in both
// lengths (withTerminator); the LSA does not. A non-zero maximumBytes gives an
// empty receive buffer of that size instead of the text.
void WriteUnicodeString(NdrWriter& w, std::u16string_view text, bool withTerminator);
void WriteUnicodeStringBuffer(NdrWriter& w, std::uint16_t maximumBytes);

// Reads the scalars now and the characters when the enclosing structure's
// referents are read; target must outlive that.
void ReadUnicodeString(NdrReader& r, std::u16string& target);

// A unique [string] wchar_t* embedded in a structure.
void ReadWideStringPointer(NdrReader& r, std::u16string& target);

// A top-level [unique, string] wchar_t* parameter; the referent follows at once.
void WriteWideStringParameter(NdrWriter& w, std::u16string_view text);

// RPC_SID: sub-authority count as conformance, then the SID.
void ReadSid(NdrReader& r, Sid& sid);

}  // namespace vn::smb
