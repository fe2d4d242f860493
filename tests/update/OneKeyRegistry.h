#pragma once

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace vn::test {

// A current-user hive holding one key with a few values: just enough for
// code that reads a setting.
class OneKeyRegistry final : public Registry {
public:
    struct Value {
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };

    explicit OneKeyRegistry(std::string keyPath) : keyPath_(std::move(keyPath)) {}

    void SetString(const std::string& name, const std::string& text, std::uint32_t type = REG_SZ) {
        Value value{type, std::vector<std::uint8_t>(text.begin(), text.end())};
        value.data.push_back(0);
        values_[name] = value;
    }

    Status Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) override {
        if (!computer.empty() || hive != Hive::CurrentUser)
            return ERROR_BAD_NETPATH;
        result = std::make_unique<Key>(*this, true);
        return ERROR_SUCCESS;
    }

private:
    class Key final : public RegistryKey {
    public:
        Key(OneKeyRegistry& owner, bool root) : owner_(owner), root_(root) {}

        Status OpenKey(std::string_view subKey, std::uint32_t, RegistryKeyPtr& result) override {
            if (!root_ || !SameName(subKey, owner_.keyPath_))
                return ERROR_FILE_NOT_FOUND;
            result = std::make_unique<Key>(owner_, false);
            return ERROR_SUCCESS;
        }
        Status CreateKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) override {
            return OpenKey(subKey, access, result);
        }
        Status QueryValue(std::string_view name, std::uint32_t* type, std::uint8_t* data,
                          std::uint32_t* size) override {
            const auto found = owner_.values_.find(std::string(name));
            if (root_ || found == owner_.values_.end())
                return ERROR_FILE_NOT_FOUND;
            const auto& value = found->second;
            const auto needed = static_cast<std::uint32_t>(value.data.size());
            if (type)
                *type = value.type;
            if (data && size && *size < needed) {
                *size = needed;
                return ERROR_MORE_DATA;
            }
            if (data)
                std::memcpy(data, value.data.data(), needed);
            if (size)
                *size = needed;
            return ERROR_SUCCESS;
        }
        Status SetValue(std::string_view, std::uint32_t, const std::uint8_t*, std::uint32_t) override {
            return ERROR_ACCESS_DENIED;
        }
        Status EnumKey(std::uint32_t, std::string&) override { return ERROR_NO_MORE_ITEMS; }
        Status DeleteTree(std::string_view) override { return ERROR_ACCESS_DENIED; }

    private:
        static bool SameName(std::string_view a, std::string_view b) {
            return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                       return std::tolower(static_cast<unsigned char>(x)) ==
                              std::tolower(static_cast<unsigned char>(y));
                   });
        }

        OneKeyRegistry& owner_;
        bool root_;
    };

    std::string keyPath_;
    std::map<std::string, Value> values_;
};

}  // namespace vn::test
