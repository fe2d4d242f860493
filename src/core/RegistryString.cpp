#include "core/RegistryString.h"

#include "platform/RegistryValues.h"

namespace vn {

std::string ReadRegistryString(RegistryKey& key, std::string_view subKey, std::string_view valueName,
                               std::string_view fallback) {
    RegistryKeyPtr opened;
    RegistryKey* source = &key;
    if (!subKey.empty()) {
        if (key.OpenKey(subKey, KEY_QUERY_VALUE, opened) != ERROR_SUCCESS)
            return std::string(fallback);
        source = opened.get();
    }
    std::string value;
    if (QueryStringValue(*source, valueName, value) != ERROR_SUCCESS)
        return std::string(fallback);
    return value;
}

}  // namespace vn
