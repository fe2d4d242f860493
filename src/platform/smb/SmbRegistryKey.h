#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/smb/RegistryPipe.h"
#include "platform/smb/rpc/NdrTypes.h"

namespace vn::smb {

// An open key of a remote hive. Every key opened from one pipe shares it;
// the pipe closes with the last key (and whatever else keeps it).
class SmbRegistryKey : public RegistryKey {
public:
    // A predefined key's handle belongs to the pipe, which keeps it open.
    enum class Handle { Own, Pipes };

    SmbRegistryKey(std::shared_ptr<RegistryPipe> pipe, const ContextHandle& handle, Handle owner = Handle::Own);
    ~SmbRegistryKey() override;

    [[nodiscard]] Status OpenKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) override;
    [[nodiscard]] Status CreateKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) override;
    // String values travel as UTF-16 and are given and taken as UTF-8, as
    // the ANSI registry functions convert them. A query of the size only
    // reads the whole value, and the query with a buffer that follows it for
    // the same value takes it from there rather than asking again.
    [[nodiscard]] Status QueryValue(std::string_view name, std::uint32_t* type, std::uint8_t* data,
                                    std::uint32_t* size) override;
    [[nodiscard]] Status SetValue(std::string_view name, std::uint32_t type, const std::uint8_t* data,
                                  std::uint32_t size) override;
    [[nodiscard]] Status EnumKey(std::uint32_t index, std::string& name) override;
    // Deleting remote trees is not offered: ERROR_ACCESS_DENIED.
    [[nodiscard]] Status DeleteTree(std::string_view subKey) override;

    // Largest value we accept from a server.
    static constexpr std::uint32_t kMaxValueSize = 4 * 1024 * 1024;

private:
    // The whole value in wire form, retrying with the size the server asks for.
    [[nodiscard]] Status FetchValue(const std::u16string& name, std::uint32_t& type, std::vector<std::uint8_t>& data);

    struct Fetched {
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };

    std::shared_ptr<RegistryPipe> pipe_;
    ContextHandle handle_;
    Handle owner_;
    std::optional<Fetched> sized_;  // read by a query of the size only
};

}  // namespace vn::smb
