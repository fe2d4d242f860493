#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "support/FakePlatformCore.h"

namespace vn::test {

inline constexpr Status ERROR_KEY_DELETED = 1018;

struct FakeRegistryValue {
    std::string name;  // as written
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;
};

// One key of a simulated hive. Names are kept as written and looked up
// without regard to case; sub-keys enumerate in the order of their upper-cased
// names. Guarded by FakePlatformCore::mutex.
struct FakeRegistryNode {
    explicit FakeRegistryNode(std::string keyName) : name(std::move(keyName)) {}

    std::string name;
    bool refuseRead = false;             // opening for any read access gives 5
    bool refuseWrite = false;            // opening for write access, creating below or deleting gives 5
    bool deleted = false;                // handles still open on it get ERROR_KEY_DELETED
    Status openFailure = ERROR_SUCCESS;  // opening it fails with this (a connection lost at it)
    std::map<std::string, std::shared_ptr<FakeRegistryNode>> children;  // by upper-cased name
    std::map<std::string, FakeRegistryValue> values;                    // by upper-cased name

    // The key at the "\"-separated path below from (from itself for an
    // empty path), or null.
    static std::shared_ptr<FakeRegistryNode> Find(std::shared_ptr<FakeRegistryNode> from, std::string_view path);
    // The same, creating missing keys (no access checks: test set-up).
    static std::shared_ptr<FakeRegistryNode> Create(std::shared_ptr<FakeRegistryNode> from, std::string_view path);
    void MarkDeleted();
    bool SubtreeRefusesWrite() const;
};

std::vector<std::string> SplitKeyPath(std::string_view path);
const char* HiveName(Hive hive);

// Set-up of one key for a test; every call takes the platform's lock.
class FakeRegistryKeyBuilder {
public:
    FakeRegistryKeyBuilder(FakePlatformCore& core, std::shared_ptr<FakeRegistryNode> node)
        : core_(core),
          node_(std::move(node)) {}

    FakeRegistryKeyBuilder& Value(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data);
    FakeRegistryKeyBuilder& String(std::string_view name, std::string_view text);  // REG_SZ, zero included
    FakeRegistryKeyBuilder& Dword(std::string_view name, std::uint32_t value);
    FakeRegistryKeyBuilder& RefuseRead(bool refuse = true);
    FakeRegistryKeyBuilder& RefuseWrite(bool refuse = true);
    FakeRegistryKeyBuilder& FailOpen(Status status);
    FakeRegistryKeyBuilder SubKey(std::string_view path);

private:
    FakePlatformCore& core_;
    std::shared_ptr<FakeRegistryNode> node_;
};

// The root key that RegConnectRegistry hands out for a hive.
RegistryKeyPtr MakeFakeRootKey(FakePlatformCore& core, std::string computer, Hive hive,
                               std::shared_ptr<FakeRegistryNode> root);

}  // namespace vn::test
