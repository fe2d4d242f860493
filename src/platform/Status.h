#pragma once

#include <cstdint>

namespace vn {

// A Windows status code: 0 is success, anything else names the failure.
using Status = std::uint32_t;

inline constexpr Status ERROR_SUCCESS = 0;
inline constexpr Status ERROR_FILE_NOT_FOUND = 2;
inline constexpr Status ERROR_PATH_NOT_FOUND = 3;
inline constexpr Status ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr Status ERROR_ACCESS_DENIED = 5;
inline constexpr Status ERROR_INVALID_HANDLE = 6;
inline constexpr Status ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr Status ERROR_INVALID_DATA = 13;
inline constexpr Status ERROR_NOT_SUPPORTED = 50;
inline constexpr Status ERROR_REM_NOT_LIST = 51;
inline constexpr Status ERROR_BAD_NETPATH = 53;
inline constexpr Status ERROR_NETWORK_BUSY = 54;
inline constexpr Status ERROR_NETNAME_DELETED = 64;
inline constexpr Status ERROR_BAD_NET_NAME = 67;
inline constexpr Status ERROR_REQ_NOT_ACCEP = 71;
inline constexpr Status ERROR_INVALID_PARAMETER = 87;
inline constexpr Status ERROR_BROKEN_PIPE = 109;
inline constexpr Status ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr Status ERROR_MORE_DATA = 234;
inline constexpr Status ERROR_NO_MORE_ITEMS = 259;
inline constexpr Status ERROR_SERVICE_ALREADY_RUNNING = 1056;
inline constexpr Status ERROR_SERVICE_DISABLED = 1058;
inline constexpr Status ERROR_SERVICE_DOES_NOT_EXIST = 1060;
inline constexpr Status ERROR_SERVICE_NOT_ACTIVE = 1062;
inline constexpr Status ERROR_SHUTDOWN_IN_PROGRESS = 1115;
inline constexpr Status ERROR_NOT_FOUND = 1168;
inline constexpr Status ERROR_NO_NETWORK = 1222;
inline constexpr Status ERROR_CANCELLED = 1223;
inline constexpr Status ERROR_SESSION_CREDENTIAL_CONFLICT = 1219;
inline constexpr Status ERROR_LOGON_FAILURE = 1326;
inline constexpr Status ERROR_NONE_MAPPED = 1332;
inline constexpr Status RPC_S_SERVER_UNAVAILABLE = 1722;
inline constexpr Status RPC_S_CALL_FAILED_DNE = 1727;
inline constexpr Status EPT_S_NOT_REGISTERED = 1753;

// The program's own codes carry bit 29, which Windows leaves to
// applications, so that none is taken for a code of Windows.
// A browse list longer than the helper reads (its entries are not kept).
inline constexpr Status ERROR_BROWSE_LIST_TOO_LONG = 0x20000001;

// The Internet client's codes (12000 range).
inline constexpr Status ERROR_INTERNET_TIMEOUT = 12002;
inline constexpr Status ERROR_INTERNET_INTERNAL_ERROR = 12004;
inline constexpr Status ERROR_INTERNET_INVALID_URL = 12005;
inline constexpr Status ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
inline constexpr Status ERROR_INTERNET_OPERATION_CANCELLED = 12017;
inline constexpr Status ERROR_INTERNET_INCORRECT_FORMAT = 12027;
inline constexpr Status ERROR_INTERNET_ITEM_NOT_FOUND = 12028;
inline constexpr Status ERROR_INTERNET_CANNOT_CONNECT = 12029;
inline constexpr Status ERROR_INTERNET_CONNECTION_ABORTED = 12030;
inline constexpr Status ERROR_INTERNET_CONNECTION_RESET = 12031;
inline constexpr Status ERROR_INTERNET_SEC_CERT_DATE_INVALID = 12037;
inline constexpr Status ERROR_INTERNET_SEC_CERT_CN_INVALID = 12038;
inline constexpr Status ERROR_INTERNET_INVALID_CA = 12045;
inline constexpr Status ERROR_INTERNET_SEC_CERT_ERRORS = 12055;
inline constexpr Status ERROR_INTERNET_SEC_CERT_REV_FAILED = 12057;
inline constexpr Status ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;
inline constexpr Status ERROR_INTERNET_SEC_CERT_REVOKED = 12170;
inline constexpr Status ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;

}  // namespace vn
