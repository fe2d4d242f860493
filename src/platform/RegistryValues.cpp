#include "platform/RegistryValues.h"

#include <cstring>
#include <vector>

namespace vn {

Status SetDwordValue(RegistryKey& key, std::string_view name, std::uint32_t value) {
    std::uint8_t bytes[4];
    std::memcpy(bytes, &value, sizeof bytes);  // little-endian, as the registry holds it
    return key.SetValue(name, REG_DWORD, bytes, sizeof bytes);
}

Status SetStringValue(RegistryKey& key, std::string_view name, std::string_view value) {
    std::string withZero(value);
    withZero.push_back('\0');
    return key.SetValue(name, REG_SZ, reinterpret_cast<const std::uint8_t*>(withZero.data()),
                        static_cast<std::uint32_t>(withZero.size()));
}

Status QueryDwordValue(RegistryKey& key, std::string_view name, std::uint32_t& value, std::uint32_t requiredType) {
    std::uint32_t type = REG_NONE;
    std::uint8_t bytes[4] = {};
    std::uint32_t size = sizeof bytes;
    if (Status status = key.QueryValue(name, &type, bytes, &size); status != ERROR_SUCCESS)
        return status;
    if (size != sizeof bytes || (requiredType != REG_NONE && type != requiredType))
        return ERROR_INVALID_PARAMETER;
    std::memcpy(&value, bytes, sizeof value);
    return ERROR_SUCCESS;
}

Status QueryValueBytes(RegistryKey& key, std::string_view name, std::uint32_t& type, std::vector<std::uint8_t>& data) {
    std::uint32_t size = 0;
    Status status = key.QueryValue(name, &type, nullptr, &size);
    // The value may grow between the two calls: retry while the hive says so.
    for (int attempt = 0; status == ERROR_SUCCESS && attempt < 4; ++attempt) {
        data.resize(size);
        status = key.QueryValue(name, &type, data.data(), &size);
        if (status != ERROR_MORE_DATA)
            break;
    }
    if (status == ERROR_SUCCESS)
        data.resize(size);
    return status;
}

Status QueryStringValue(RegistryKey& key, std::string_view name, std::string& value, std::uint32_t requiredType) {
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> buffer;
    if (Status status = QueryValueBytes(key, name, type, buffer); status != ERROR_SUCCESS)
        return status;
    if (requiredType != REG_NONE && type != requiredType)
        return ERROR_INVALID_PARAMETER;
    const auto* text = reinterpret_cast<const char*>(buffer.data());
    value.assign(text, strnlen(text, buffer.size()));
    return ERROR_SUCCESS;
}

}  // namespace vn
