#include "platform/smb/SmbRegistryKey.h"

#include <cstring>
#include <utility>

#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/Utf16.h"
#include "platform/smb/rpc/Winreg.h"

namespace vn::smb {

namespace {

constexpr std::uint32_t kFirstGuess = 1024;

bool IsTextType(std::uint32_t type) {
    return type == winreg::REG_SZ || type == winreg::REG_EXPAND_SZ || type == winreg::REG_MULTI_SZ;
}

// Key paths as Windows accepts them: a trailing separator names the same key.
std::u16string KeyPath(std::string_view path) {
    while (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    return Utf8ToUtf16(path);
}

std::vector<std::uint8_t> WideBytesToUtf8(const std::vector<std::uint8_t>& wire) {
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < wire.size(); i += 2)
        wide.push_back(static_cast<char16_t>(wire[i] | (wire[i + 1] << 8)));
    const std::string text = Utf16ToUtf8(wide);
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> Utf8ToWideBytes(const std::uint8_t* data, std::uint32_t size) {
    const std::u16string wide = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::uint8_t> wire;
    wire.reserve(wide.size() * 2);
    for (char16_t c : wide) {
        wire.push_back(static_cast<std::uint8_t>(c));
        wire.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return wire;
}

}  // namespace

SmbRegistryKey::SmbRegistryKey(std::shared_ptr<RegistryPipe> pipe, const ContextHandle& handle, Handle owner)
    : pipe_(std::move(pipe)),
      handle_(handle),
      owner_(owner) {}

SmbRegistryKey::~SmbRegistryKey() {
    if (owner_ == Handle::Own)
        pipe_->Release(handle_);
}

Status SmbRegistryKey::OpenKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) {
    winreg::BaseRegOpenKey request{.hKey = handle_, .lpSubKey = KeyPath(subKey), .samDesired = access};
    winreg::BaseRegOpenKeyResponse response;
    if (Status status = InvokeForStatus(pipe_->Connection(), request, response); status != ERROR_SUCCESS)
        return status;
    result = std::make_unique<SmbRegistryKey>(pipe_, response.phkResult);
    return ERROR_SUCCESS;
}

Status SmbRegistryKey::CreateKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) {
    winreg::BaseRegCreateKey request{.hKey = handle_, .lpSubKey = KeyPath(subKey), .samDesired = access};
    winreg::BaseRegCreateKeyResponse response;
    if (Status status = InvokeForStatus(pipe_->Connection(), request, response); status != ERROR_SUCCESS)
        return status;
    result = std::make_unique<SmbRegistryKey>(pipe_, response.phkResult);
    return ERROR_SUCCESS;
}

Status SmbRegistryKey::FetchValue(const std::u16string& name, std::uint32_t& type, std::vector<std::uint8_t>& data) {
    std::uint32_t bufferSize = kFirstGuess;
    // A value may grow between two calls; a few rounds settle it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        winreg::BaseRegQueryValue request{.hKey = handle_, .lpValueName = name, .lpcbData = bufferSize};
        winreg::BaseRegQueryValueResponse response;
        const Status status = InvokeForStatus(pipe_->Connection(), request, response);
        if (status == ERROR_MORE_DATA) {
            if (!response.lpcbData || *response.lpcbData <= bufferSize || *response.lpcbData > kMaxValueSize)
                return RPC_X_BAD_STUB_DATA;
            bufferSize = *response.lpcbData;
            continue;
        }
        if (status != ERROR_SUCCESS)
            return status;
        if (response.lpData.size() > bufferSize)
            return RPC_X_BAD_STUB_DATA;
        type = response.lpType.value_or(REG_NONE);
        data = std::move(response.lpData);
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

Status SmbRegistryKey::QueryValue(std::string_view name, std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) {
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    std::uint32_t valueType = REG_NONE;
    std::vector<std::uint8_t> value;
    std::optional<Fetched> sized = std::exchange(sized_, std::nullopt);
    if (data && sized && sized->name == name) {
        valueType = sized->type;
        value = std::move(sized->data);
    } else if (Status status = FetchValue(Utf8ToUtf16(name), valueType, value); status != ERROR_SUCCESS) {
        return status;
    }
    if (!data && size)
        sized_ = Fetched{std::string(name), valueType, value};
    if (IsTextType(valueType))
        value = WideBytesToUtf8(value);
    if (type)
        *type = valueType;
    const auto needed = static_cast<std::uint32_t>(value.size());
    if (!size)
        return ERROR_SUCCESS;
    if (data && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data && needed)
        std::memcpy(data, value.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

Status SmbRegistryKey::SetValue(std::string_view name, std::uint32_t type, const std::uint8_t* data,
                                std::uint32_t size) {
    if (!data && size)
        return ERROR_INVALID_PARAMETER;
    sized_.reset();
    winreg::BaseRegSetValue request{.hKey = handle_, .lpValueName = Utf8ToUtf16(name), .dwType = type};
    if (IsTextType(type))
        request.lpData = Utf8ToWideBytes(data, size);
    else if (size)
        request.lpData.assign(data, data + size);
    winreg::BaseRegSetValueResponse response;
    return InvokeForStatus(pipe_->Connection(), request, response);
}

Status SmbRegistryKey::EnumKey(std::uint32_t index, std::string& name) {
    winreg::BaseRegEnumKeyResponse response;
    if (Status status =
            InvokeForStatus(pipe_->Connection(), winreg::BaseRegEnumKey{.hKey = handle_, .dwIndex = index}, response);
        status != ERROR_SUCCESS)
        return status;
    name = Utf16ToUtf8(response.lpNameOut);
    return ERROR_SUCCESS;
}

Status SmbRegistryKey::DeleteTree(std::string_view) { return ERROR_ACCESS_DENIED; }

}  // namespace vn::smb
