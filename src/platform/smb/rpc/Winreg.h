#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/smb/rpc/NdrTypes.h"
#include "platform/smb/rpc/RpcCallTable.h"
#include "platform/smb/rpc/RpcPdu.h"

// MS-RRP, the remote registry (pipe \winreg). Each operation declares its
// fields once, with the protocol's names (NdrFields.h), and its opnum in Calls.
namespace vn::smb::winreg {

inline const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("338cd001-2244-31f1-aaaa-900038001003", 1, 0);
    return id;
}
inline constexpr const char* kPipe = "winreg";

// The protocol's constants, defined where the registry's logic finds them.
using vn::MAXIMUM_ALLOWED;
using vn::REG_BINARY;
using vn::REG_DWORD;
using vn::REG_EXPAND_SZ;
using vn::REG_MULTI_SZ;
using vn::REG_NONE;
using vn::REG_SZ;

// OpenLocalMachine and OpenUsers: the same fields, one type for each call.
// ServerName: Windows sends a null pointer and so do we.
enum class PredefinedKey { LocalMachine, Users };
template <PredefinedKey>
struct OpenPredefinedKey {
    NullPointer ServerName{};
    std::uint32_t samDesired = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.ServerName, m.samDesired); }
};
template <PredefinedKey>
struct OpenPredefinedKeyResponse {
    ContextHandle phKey{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.phKey, m.ErrorCode); }
};
using OpenLocalMachine = OpenPredefinedKey<PredefinedKey::LocalMachine>;
using OpenLocalMachineResponse = OpenPredefinedKeyResponse<PredefinedKey::LocalMachine>;
using OpenUsers = OpenPredefinedKey<PredefinedKey::Users>;
using OpenUsersResponse = OpenPredefinedKeyResponse<PredefinedKey::Users>;

struct BaseRegCloseKey {
    ContextHandle hKey{};
    static void Fields(auto& m, auto&& ndr) { ndr(m.hKey); }
};
struct BaseRegCloseKeyResponse {
    ContextHandle hKey{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hKey, m.ErrorCode); }
};

// lpSecurityAttributes: none, the key gets its parent's.
struct BaseRegCreateKey {
    ContextHandle hKey{};
    std::u16string lpSubKey{};
    std::u16string lpClass{};
    std::uint32_t dwOptions = 0;
    std::uint32_t samDesired = 0;
    NullPointer lpSecurityAttributes{};
    std::uint32_t lpdwDisposition = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.hKey, RrpUnicodeString(m.lpSubKey), RrpUnicodeString(m.lpClass), m.dwOptions, m.samDesired,
            m.lpSecurityAttributes, Unique(m.lpdwDisposition));
    }
};
struct BaseRegCreateKeyResponse {
    ContextHandle phkResult{};
    std::uint32_t lpdwDisposition = 0;
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.phkResult, Unique(m.lpdwDisposition), m.ErrorCode); }
};

// lpNameIn and lpClassIn are empty buffers with room for the answers; key
// names are at most 255 characters and their zero.
struct BaseRegEnumKey {
    ContextHandle hKey{};
    std::uint32_t dwIndex = 0;
    UnicodeBuffer lpNameIn{512};
    UnicodeBuffer lpClassIn{2};
    NullPointer lpftLastWriteTime{};
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.hKey, m.dwIndex, m.lpNameIn, Unique(m.lpClassIn), m.lpftLastWriteTime);
    }
};
struct FILETIME {
    std::uint32_t dwLowDateTime = 0;
    std::uint32_t dwHighDateTime = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.dwLowDateTime, m.dwHighDateTime); }
};
struct BaseRegEnumKeyResponse {
    std::u16string lpNameOut{};
    std::u16string lplpClassOut{};
    FILETIME lpftLastWriteTime{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(RpcUnicodeString(m.lpNameOut), Unique(RpcUnicodeString(m.lplpClassOut)), Unique(m.lpftLastWriteTime),
            m.ErrorCode);
    }
};

struct BaseRegOpenKey {
    ContextHandle hKey{};
    std::u16string lpSubKey{};
    std::uint32_t dwOptions = 0;
    std::uint32_t samDesired = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.hKey, RrpUnicodeString(m.lpSubKey), m.dwOptions, m.samDesired); }
};
struct BaseRegOpenKeyResponse {
    ContextHandle phkResult{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.phkResult, m.ErrorCode); }
};

// lpData goes empty with room for lpcbData bytes; with lpcbData 0 no buffer
// is offered and the server only reports type and size.
struct BaseRegQueryValue {
    ContextHandle hKey{};
    std::u16string lpValueName{};
    std::uint32_t lpType = 0;
    std::vector<std::uint8_t> lpData{};
    std::uint32_t lpcbData = 0;
    std::uint32_t lpcbLen = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(m.hKey, RrpUnicodeString(m.lpValueName), Unique(m.lpType),
            Unique(Varying(m.lpData, m.lpcbData), m.lpcbData != 0), Unique(m.lpcbData), Unique(m.lpcbLen));
    }
};
struct BaseRegQueryValueResponse {
    std::optional<std::uint32_t> lpType{};
    std::vector<std::uint8_t> lpData{};
    std::optional<std::uint32_t> lpcbData{};
    std::optional<std::uint32_t> lpcbLen{};
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) {
        ndr(Unique(m.lpType), Unique(Varying(m.lpData)), Unique(m.lpcbData), Unique(m.lpcbLen), m.ErrorCode);
    }
};

// cbData is lpData's size.
struct BaseRegSetValue {
    ContextHandle hKey{};
    std::u16string lpValueName{};
    std::uint32_t dwType = 0;
    std::vector<std::uint8_t> lpData{};
    static void Fields(auto& m, auto&& ndr) {
        const auto cbData = static_cast<std::uint32_t>(m.lpData.size());
        ndr(m.hKey, RrpUnicodeString(m.lpValueName), m.dwType, Conformant(m.lpData), cbData);
    }
};
struct BaseRegSetValueResponse {
    std::uint32_t ErrorCode = 0;
    static void Fields(auto& m, auto&& ndr) { ndr(m.ErrorCode); }
};

using Calls = RpcCallTable<
    RpcOperation<2, OpenLocalMachine, OpenLocalMachineResponse>, RpcOperation<4, OpenUsers, OpenUsersResponse>,
    RpcOperation<5, BaseRegCloseKey, BaseRegCloseKeyResponse>,
    RpcOperation<6, BaseRegCreateKey, BaseRegCreateKeyResponse>,
    RpcOperation<9, BaseRegEnumKey, BaseRegEnumKeyResponse>, RpcOperation<15, BaseRegOpenKey, BaseRegOpenKeyResponse>,
    RpcOperation<17, BaseRegQueryValue, BaseRegQueryValueResponse>,
    RpcOperation<22, BaseRegSetValue, BaseRegSetValueResponse>>;
Calls CallTableOf(const auto&);

}  // namespace vn::smb::winreg
