#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/smb/NdrTypes.h"
#include "platform/smb/RpcPdu.h"

// MS-RRP, the remote registry (pipe \winreg). Operations carry the protocol's
// names; each request knows its opnum and how it is marshalled.
namespace vn::smb::winreg {

const RpcSyntaxId& Interface();
inline constexpr const char* kPipe = "winreg";

// OpenLocalMachine (opnum 2) and OpenUsers (opnum 4) share one response.
struct OpenLocalMachine {
    static constexpr std::uint16_t opnum = 2;
    std::uint32_t samDesired = 0;
    void Encode(NdrWriter& w) const;
};
struct OpenUsers {
    static constexpr std::uint16_t opnum = 4;
    std::uint32_t samDesired = 0;
    void Encode(NdrWriter& w) const;
};
struct OpenHiveResponse {
    ContextHandle phKey;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

struct BaseRegCloseKey {
    static constexpr std::uint16_t opnum = 5;
    ContextHandle hKey;
    void Encode(NdrWriter& w) const;
};
struct BaseRegCloseKeyResponse {
    ContextHandle hKey;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

struct BaseRegCreateKey {
    static constexpr std::uint16_t opnum = 6;
    ContextHandle hKey;
    std::u16string lpSubKey;
    std::u16string lpClass;
    std::uint32_t dwOptions = 0;
    std::uint32_t samDesired = 0;
    void Encode(NdrWriter& w) const;
};
struct BaseRegCreateKeyResponse {
    ContextHandle phkResult;
    std::uint32_t lpdwDisposition = 0;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

struct BaseRegEnumKey {
    static constexpr std::uint16_t opnum = 9;
    ContextHandle hKey;
    std::uint32_t dwIndex = 0;
    void Encode(NdrWriter& w) const;
};
struct BaseRegEnumKeyResponse {
    std::u16string lpNameOut;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

struct BaseRegOpenKey {
    static constexpr std::uint16_t opnum = 15;
    ContextHandle hKey;
    std::u16string lpSubKey;
    std::uint32_t dwOptions = 0;
    std::uint32_t samDesired = 0;
    void Encode(NdrWriter& w) const;
};
struct BaseRegOpenKeyResponse {
    ContextHandle phkResult;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

// lpData is offered with room for bufferSize bytes; with wantData false no
// data buffer is sent and the server only reports type and size.
struct BaseRegQueryValue {
    static constexpr std::uint16_t opnum = 17;
    ContextHandle hKey;
    std::u16string lpValueName;
    bool wantData = true;
    std::uint32_t bufferSize = 0;
    void Encode(NdrWriter& w) const;
};
struct BaseRegQueryValueResponse {
    std::optional<std::uint32_t> lpType;
    std::vector<std::uint8_t> lpData;
    std::optional<std::uint32_t> lpcbData;
    std::optional<std::uint32_t> lpcbLen;
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

struct BaseRegSetValue {
    static constexpr std::uint16_t opnum = 22;
    ContextHandle hKey;
    std::u16string lpValueName;
    std::uint32_t dwType = 0;
    std::vector<std::uint8_t> lpData;
    void Encode(NdrWriter& w) const;
};
struct BaseRegSetValueResponse {
    std::uint32_t ErrorCode = 0;
    void Decode(NdrReader& r);
};

}  // namespace vn::smb::winreg
