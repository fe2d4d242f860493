#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/smb/rpc/NdrTypes.h"
#include "platform/smb/rpc/RpcPdu.h"

// MS-RRP, the remote registry (pipe \winreg). Each operation declares its
// fields once, with the protocol's names (NdrFields.h).
namespace vn::smb::winreg {

inline const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("338cd001-2244-31f1-aaaa-900038001003", 1, 0);
    return id;
}
inline constexpr const char* kPipe = "winreg";

// OpenLocalMachine (opnum 2), OpenUsers (opnum 4). ServerName: Windows sends
// a null pointer and so do we.
template <std::uint16_t Opnum>
struct OpenHive {
    static constexpr std::uint16_t opnum = Opnum;
    std::uint32_t samDesired = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(Null(), m.samDesired); }
};
using OpenLocalMachine = OpenHive<2>;
using OpenUsers = OpenHive<4>;
struct OpenHiveResponse {
    ContextHandle phKey;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.phKey, m.ErrorCode); }
};

// BaseRegCloseKey (opnum 5)
struct BaseRegCloseKey {
    static constexpr std::uint16_t opnum = 5;
    ContextHandle hKey;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hKey); }
};
struct BaseRegCloseKeyResponse {
    ContextHandle hKey;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hKey, m.ErrorCode); }
};

// BaseRegCreateKey (opnum 6), with no lpSecurityAttributes.
struct BaseRegCreateKey {
    static constexpr std::uint16_t opnum = 6;
    ContextHandle hKey;
    std::u16string lpSubKey;
    std::u16string lpClass;
    std::uint32_t dwOptions = 0;
    std::uint32_t samDesired = 0;
    std::uint32_t lpdwDisposition = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.hKey, RrpUnicodeString(m.lpSubKey), RrpUnicodeString(m.lpClass), m.dwOptions, m.samDesired, Null(),
            Unique(m.lpdwDisposition));
    }
};
struct BaseRegCreateKeyResponse {
    ContextHandle phkResult;
    std::uint32_t lpdwDisposition = 0;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.phkResult, Unique(m.lpdwDisposition), m.ErrorCode); }
};

// BaseRegEnumKey (opnum 9): lpNameIn and lpClassIn are empty buffers with
// room for the answers; key names are at most 255 characters and their zero.
struct BaseRegEnumKey {
    static constexpr std::uint16_t opnum = 9;
    ContextHandle hKey;
    std::uint32_t dwIndex = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.hKey, m.dwIndex, UnicodeBuffer{512}, Unique(UnicodeBuffer{2}), Null() /* lpftLastWriteTime */);
    }
};
struct FILETIME {
    std::uint32_t dwLowDateTime = 0;
    std::uint32_t dwHighDateTime = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.dwLowDateTime, m.dwHighDateTime); }
};
struct BaseRegEnumKeyResponse {
    std::u16string lpNameOut;
    std::u16string lplpClassOut;
    FILETIME lpftLastWriteTime;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(RpcUnicodeString(m.lpNameOut), Unique(RpcUnicodeString(m.lplpClassOut)), Unique(m.lpftLastWriteTime),
            m.ErrorCode);
    }
};

// BaseRegOpenKey (opnum 15)
struct BaseRegOpenKey {
    static constexpr std::uint16_t opnum = 15;
    ContextHandle hKey;
    std::u16string lpSubKey;
    std::uint32_t dwOptions = 0;
    std::uint32_t samDesired = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hKey, RrpUnicodeString(m.lpSubKey), m.dwOptions, m.samDesired); }
};
struct BaseRegOpenKeyResponse {
    ContextHandle phkResult;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.phkResult, m.ErrorCode); }
};

// BaseRegQueryValue (opnum 17): lpData is offered with room for bufferSize
// bytes; with wantData false no data buffer is sent and the server only
// reports type and size.
struct BaseRegQueryValue {
    static constexpr std::uint16_t opnum = 17;
    ContextHandle hKey;
    std::u16string lpValueName;
    bool wantData = true;
    std::uint32_t bufferSize = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.hKey, RrpUnicodeString(m.lpValueName), Unique(0u) /* lpType */,
            Unique(Varying(std::vector<std::uint8_t>{}, m.bufferSize), m.wantData) /* lpData */,
            Unique(m.wantData ? m.bufferSize : 0u) /* lpcbData */, Unique(0u) /* lpcbLen */);
    }
};
struct BaseRegQueryValueResponse {
    std::optional<std::uint32_t> lpType;
    std::vector<std::uint8_t> lpData;
    std::optional<std::uint32_t> lpcbData;
    std::optional<std::uint32_t> lpcbLen;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(Unique(m.lpType), Unique(Varying(m.lpData)), Unique(m.lpcbData), Unique(m.lpcbLen), m.ErrorCode);
    }
};

// BaseRegSetValue (opnum 22)
struct BaseRegSetValue {
    static constexpr std::uint16_t opnum = 22;
    ContextHandle hKey;
    std::u16string lpValueName;
    std::uint32_t dwType = 0;
    std::vector<std::uint8_t> lpData;
    static void Fields(auto& m, auto&& ndr) {
        const auto cbData = static_cast<std::uint32_t>(m.lpData.size());
        ndr(m.hKey, RrpUnicodeString(m.lpValueName), m.dwType, Conformant(m.lpData), cbData);
    }
};
struct BaseRegSetValueResponse {
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.ErrorCode); }
};

}  // namespace vn::smb::winreg
