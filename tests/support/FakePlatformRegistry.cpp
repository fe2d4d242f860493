#include "support/FakePlatformRegistry.h"

#include <cstring>

namespace vn::test {
namespace {

constexpr std::uint32_t kReadRights = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;
constexpr std::uint32_t kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

// Checks the key's refusals against the requested access and gives the
// rights granted.
Status Grant(const FakeRegistryNode& node, std::uint32_t access, std::uint32_t& granted) {
    if (access & MAXIMUM_ALLOWED) {
        granted = (node.refuseRead ? 0 : kReadRights) | (node.refuseWrite ? 0 : kWriteRights);
        return ERROR_SUCCESS;
    }
    if (((access & kReadRights) && node.refuseRead) || ((access & kWriteRights) && node.refuseWrite))
        return ERROR_ACCESS_DENIED;
    granted = access;
    return ERROR_SUCCESS;
}

std::string JoinPath(const std::string& base, std::string_view sub) {
    std::string path = base;
    for (const std::string& part : SplitKeyPath(sub))
        path += "\\" + part;
    return path;
}

class FakeRegistryKey final : public RegistryKey {
public:
    FakeRegistryKey(FakePlatformCore& core, std::string computer, std::string path,
                    std::shared_ptr<FakeRegistryNode> node, std::uint32_t granted)
        : core_(core),
          computer_(std::move(computer)),
          path_(std::move(path)),
          node_(std::move(node)),
          granted_(granted) {
        ++core_.openHandles;
    }

    ~FakeRegistryKey() override {
        --core_.openHandles;
        core_.Enter("RegCloseKey", computer_, {path_});
    }

    Status OpenKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) override {
        core_.Enter("RegOpenKeyEx", computer_, {JoinPath(path_, subKey), std::to_string(access)});
        std::lock_guard lock(core_.mutex);
        if (node_->deleted)
            return ERROR_KEY_DELETED;
        std::shared_ptr<FakeRegistryNode> target = FakeRegistryNode::Find(node_, subKey);
        if (!target)
            return ERROR_FILE_NOT_FOUND;
        return OpenFound(std::move(target), subKey, access, result);
    }

    Status CreateKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) override {
        core_.Enter("RegCreateKeyEx", computer_, {JoinPath(path_, subKey), std::to_string(access)});
        std::lock_guard lock(core_.mutex);
        if (node_->deleted)
            return ERROR_KEY_DELETED;
        std::shared_ptr<FakeRegistryNode> current = node_;
        for (const std::string& part : SplitKeyPath(subKey)) {
            auto& slot = current->children[UpperName(part)];
            if (!slot) {
                if (current->refuseWrite) {
                    current->children.erase(UpperName(part));
                    return ERROR_ACCESS_DENIED;
                }
                slot = std::make_shared<FakeRegistryNode>(part);
            }
            current = slot;
        }
        return OpenFound(std::move(current), subKey, access, result);
    }

    Status QueryValue(std::string_view name, std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) override {
        core_.Enter("RegQueryValueEx", computer_, {path_, std::string(name)});
        std::lock_guard lock(core_.mutex);
        if (node_->deleted)
            return ERROR_KEY_DELETED;
        if (!(granted_ & KEY_QUERY_VALUE))
            return ERROR_ACCESS_DENIED;
        auto it = node_->values.find(UpperName(name));
        if (it == node_->values.end())
            return ERROR_FILE_NOT_FOUND;
        const FakeRegistryValue& value = it->second;
        const auto needed = static_cast<std::uint32_t>(value.data.size());
        if (data && !size)
            return ERROR_INVALID_PARAMETER;
        if (type)
            *type = value.type;
        if (data && *size < needed) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        if (data && needed > 0)
            std::memcpy(data, value.data.data(), needed);
        if (size)
            *size = needed;
        return ERROR_SUCCESS;
    }

    Status SetValue(std::string_view name, std::uint32_t type, const std::uint8_t* data, std::uint32_t size) override {
        core_.Enter("RegSetValueEx", computer_, {path_, std::string(name), std::to_string(type)});
        std::lock_guard lock(core_.mutex);
        if (node_->deleted)
            return ERROR_KEY_DELETED;
        if (!(granted_ & KEY_SET_VALUE))
            return ERROR_ACCESS_DENIED;
        if (size > 0 && !data)
            return ERROR_INVALID_PARAMETER;
        std::vector<std::uint8_t> bytes;
        if (size > 0)
            bytes.assign(data, data + size);
        node_->values[UpperName(name)] = FakeRegistryValue{std::string(name), type, std::move(bytes)};
        return ERROR_SUCCESS;
    }

    Status EnumKey(std::uint32_t index, std::string& name) override {
        core_.Enter("RegEnumKey", computer_, {path_, std::to_string(index)});
        std::lock_guard lock(core_.mutex);
        if (node_->deleted)
            return ERROR_KEY_DELETED;
        if (!(granted_ & KEY_ENUMERATE_SUB_KEYS))
            return ERROR_ACCESS_DENIED;
        if (index >= node_->children.size())
            return ERROR_NO_MORE_ITEMS;
        auto it = node_->children.begin();
        std::advance(it, index);
        name = it->second->name;
        return ERROR_SUCCESS;
    }

    Status DeleteTree(std::string_view subKey) override {
        core_.Enter("SHDeleteKey", computer_, {JoinPath(path_, subKey)});
        std::lock_guard lock(core_.mutex);
        if (node_->deleted)
            return ERROR_KEY_DELETED;
        const std::vector<std::string> parts = SplitKeyPath(subKey);
        if (parts.empty())
            return ERROR_ACCESS_DENIED;  // a key cannot delete itself through its own handle here
        std::shared_ptr<FakeRegistryNode> parent = node_;
        for (std::size_t i = 0; i + 1 < parts.size() && parent; ++i)
            parent = FakeRegistryNode::Find(parent, parts[i]);
        std::shared_ptr<FakeRegistryNode> target = parent ? FakeRegistryNode::Find(parent, parts.back()) : nullptr;
        if (!target)
            return ERROR_FILE_NOT_FOUND;
        if (parent->refuseWrite || target->SubtreeRefusesWrite())
            return ERROR_ACCESS_DENIED;
        target->MarkDeleted();
        parent->children.erase(UpperName(parts.back()));
        return ERROR_SUCCESS;
    }

private:
    Status OpenFound(std::shared_ptr<FakeRegistryNode> target, std::string_view subKey, std::uint32_t access,
                     RegistryKeyPtr& result) {
        if (target->openFailure != ERROR_SUCCESS)
            return target->openFailure;
        std::uint32_t granted = 0;
        if (Status status = Grant(*target, access, granted); status != ERROR_SUCCESS)
            return status;
        result =
            std::make_unique<FakeRegistryKey>(core_, computer_, JoinPath(path_, subKey), std::move(target), granted);
        return ERROR_SUCCESS;
    }

    FakePlatformCore& core_;
    const std::string computer_;
    const std::string path_;
    const std::shared_ptr<FakeRegistryNode> node_;
    const std::uint32_t granted_;
};

}  // namespace

std::vector<std::string> SplitKeyPath(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

const char* HiveName(Hive hive) {
    switch (hive) {
    case Hive::LocalMachine: return "HKLM";
    case Hive::CurrentUser: return "HKCU";
    case Hive::Users: return "HKU";
    }
    return "?";
}

std::shared_ptr<FakeRegistryNode> FakeRegistryNode::Find(std::shared_ptr<FakeRegistryNode> from,
                                                         std::string_view path) {
    for (const std::string& part : SplitKeyPath(path)) {
        auto it = from->children.find(UpperName(part));
        if (it == from->children.end())
            return nullptr;
        from = it->second;
    }
    return from;
}

std::shared_ptr<FakeRegistryNode> FakeRegistryNode::Create(std::shared_ptr<FakeRegistryNode> from,
                                                           std::string_view path) {
    for (const std::string& part : SplitKeyPath(path)) {
        auto& slot = from->children[UpperName(part)];
        if (!slot)
            slot = std::make_shared<FakeRegistryNode>(part);
        from = slot;
    }
    return from;
}

void FakeRegistryNode::MarkDeleted() {
    deleted = true;
    for (auto& [upper, child] : children)
        child->MarkDeleted();
}

bool FakeRegistryNode::SubtreeRefusesWrite() const {
    if (refuseWrite)
        return true;
    for (const auto& [upper, child] : children) {
        if (child->SubtreeRefusesWrite())
            return true;
    }
    return false;
}

FakeRegistryKeyBuilder& FakeRegistryKeyBuilder::Value(std::string_view name, std::uint32_t type,
                                                      std::vector<std::uint8_t> data) {
    std::lock_guard lock(core_.mutex);
    node_->values[UpperName(name)] = FakeRegistryValue{std::string(name), type, std::move(data)};
    return *this;
}

FakeRegistryKeyBuilder& FakeRegistryKeyBuilder::String(std::string_view name, std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return Value(name, REG_SZ, std::move(bytes));
}

FakeRegistryKeyBuilder& FakeRegistryKeyBuilder::Dword(std::string_view name, std::uint32_t value) {
    std::vector<std::uint8_t> bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return Value(name, REG_DWORD, std::move(bytes));
}

FakeRegistryKeyBuilder& FakeRegistryKeyBuilder::RefuseRead(bool refuse) {
    std::lock_guard lock(core_.mutex);
    node_->refuseRead = refuse;
    return *this;
}

FakeRegistryKeyBuilder& FakeRegistryKeyBuilder::RefuseWrite(bool refuse) {
    std::lock_guard lock(core_.mutex);
    node_->refuseWrite = refuse;
    return *this;
}

FakeRegistryKeyBuilder& FakeRegistryKeyBuilder::FailOpen(Status status) {
    std::lock_guard lock(core_.mutex);
    node_->openFailure = status;
    return *this;
}

FakeRegistryKeyBuilder FakeRegistryKeyBuilder::SubKey(std::string_view path) {
    std::lock_guard lock(core_.mutex);
    return FakeRegistryKeyBuilder(core_, FakeRegistryNode::Create(node_, path));
}

RegistryKeyPtr MakeFakeRootKey(FakePlatformCore& core, std::string computer, Hive hive,
                               std::shared_ptr<FakeRegistryNode> root) {
    return std::make_unique<FakeRegistryKey>(core, std::move(computer), HiveName(hive), std::move(root),
                                             KEY_ALL_ACCESS);
}

}  // namespace vn::test
