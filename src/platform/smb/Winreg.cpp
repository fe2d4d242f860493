#include "platform/smb/Winreg.h"

namespace vn::smb::winreg {

namespace {

// PREGISTRY_SERVER_NAME: Windows sends a null pointer and so do we.
void EncodeOpenHive(NdrWriter& w, std::uint32_t samDesired) {
    w.Pointer(false);
    w.U32(samDesired);
}

// A top-level RRP_UNICODE_STRING parameter: scalars, then its characters.
void EncodeKeyName(NdrWriter& w, const std::u16string& name) {
    WriteUnicodeString(w, name, true);
    w.FlushDeferred();
}

}  // namespace

const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("338cd001-2244-31f1-aaaa-900038001003", 1, 0);
    return id;
}

void OpenLocalMachine::Encode(NdrWriter& w) const { EncodeOpenHive(w, samDesired); }
void OpenUsers::Encode(NdrWriter& w) const { EncodeOpenHive(w, samDesired); }

void OpenHiveResponse::Decode(NdrReader& r) {
    phKey.Decode(r);
    ErrorCode = r.U32();
}

void BaseRegCloseKey::Encode(NdrWriter& w) const { hKey.Encode(w); }

void BaseRegCloseKeyResponse::Decode(NdrReader& r) {
    hKey.Decode(r);
    ErrorCode = r.U32();
}

void BaseRegCreateKey::Encode(NdrWriter& w) const {
    hKey.Encode(w);
    EncodeKeyName(w, lpSubKey);
    EncodeKeyName(w, lpClass);
    w.U32(dwOptions);
    w.U32(samDesired);
    w.Pointer(false);  // lpSecurityAttributes
    w.Pointer(true);   // lpdwDisposition
    w.U32(0);
}

void BaseRegCreateKeyResponse::Decode(NdrReader& r) {
    phkResult.Decode(r);
    if (r.Pointer())
        lpdwDisposition = r.U32();
    ErrorCode = r.U32();
}

void BaseRegEnumKey::Encode(NdrWriter& w) const {
    // Key names are at most 255 characters; the buffer also holds the zero.
    constexpr std::uint16_t kNameBytes = 512;
    hKey.Encode(w);
    w.U32(dwIndex);
    WriteUnicodeStringBuffer(w, kNameBytes);  // lpNameIn
    w.FlushDeferred();
    w.Pointer(true);  // lpClassIn
    WriteUnicodeStringBuffer(w, 2);
    w.FlushDeferred();
    w.Pointer(false);  // lpftLastWriteTime
}

void BaseRegEnumKeyResponse::Decode(NdrReader& r) {
    ReadUnicodeString(r, lpNameOut);
    r.FlushDeferred();
    std::u16string className;
    if (r.Pointer()) {
        ReadUnicodeString(r, className);
        r.FlushDeferred();
    }
    if (r.Pointer()) {  // FILETIME
        r.U32();
        r.U32();
    }
    ErrorCode = r.U32();
}

void BaseRegOpenKey::Encode(NdrWriter& w) const {
    hKey.Encode(w);
    EncodeKeyName(w, lpSubKey);
    w.U32(dwOptions);
    w.U32(samDesired);
}

void BaseRegOpenKeyResponse::Decode(NdrReader& r) {
    phkResult.Decode(r);
    ErrorCode = r.U32();
}

void BaseRegQueryValue::Encode(NdrWriter& w) const {
    hKey.Encode(w);
    EncodeKeyName(w, lpValueName);
    w.Pointer(true);  // lpType
    w.U32(0);
    w.Pointer(wantData);  // lpData: room for bufferSize bytes, none sent
    if (wantData) {
        w.U32(bufferSize);
        w.U32(0);
        w.U32(0);
    }
    w.Pointer(true);  // lpcbData
    w.U32(wantData ? bufferSize : 0);
    w.Pointer(true);  // lpcbLen
    w.U32(0);
}

void BaseRegQueryValueResponse::Decode(NdrReader& r) {
    if (r.Pointer())
        lpType = r.U32();
    if (r.Pointer())
        lpData = r.ByteVector(r.VaryingCount(1));
    if (r.Pointer())
        lpcbData = r.U32();
    if (r.Pointer())
        lpcbLen = r.U32();
    ErrorCode = r.U32();
}

void BaseRegSetValue::Encode(NdrWriter& w) const {
    hKey.Encode(w);
    EncodeKeyName(w, lpValueName);
    w.U32(dwType);
    w.U32(static_cast<std::uint32_t>(lpData.size()));  // [ref, size_is(cbData)]
    w.Bytes(lpData.data(), lpData.size());
    w.U32(static_cast<std::uint32_t>(lpData.size()));  // cbData
}

void BaseRegSetValueResponse::Decode(NdrReader& r) { ErrorCode = r.U32(); }

}  // namespace vn::smb::winreg
