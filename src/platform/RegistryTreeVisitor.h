#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryTree.h"

namespace vn {

// Receives a subtree read at once (RegistryKey::VisitSubKeys), depth first:
// each key's name, then its values, then its sub-keys, then its end.
class RegistryTreeVisitor {
public:
    virtual ~RegistryTreeVisitor() = default;
    virtual void BeginKey(std::string_view name) = 0;
    // One of the values asked for, by its place in the names asked for.
    virtual void Value(std::size_t nameIndex, std::uint32_t type, std::span<const std::uint8_t> data) = 0;
    virtual void EndKey() = 0;
};

// Builds the visited keys as trees, values named as asked.
class RegistryTreeBuilder : public RegistryTreeVisitor {
public:
    RegistryTreeBuilder(const std::vector<std::string>& valueNames, std::vector<RegistryTree>& trees);

    void BeginKey(std::string_view name) override;
    void Value(std::size_t nameIndex, std::uint32_t type, std::span<const std::uint8_t> data) override;
    void EndKey() override;

private:
    // The level the next key goes to.
    std::vector<RegistryTree>& Level();

    const std::vector<std::string>& valueNames_;
    std::vector<RegistryTree>& trees_;
    std::vector<RegistryTree*> open_;  // the keys begun and not yet ended
};

// The value's data as RegistryTree::Dword and String read it.
[[nodiscard]] Status DwordFromData(std::uint32_t type, std::span<const std::uint8_t> data, std::uint32_t& value,
                                   std::uint32_t requiredType = 0);
[[nodiscard]] Status StringFromData(std::uint32_t type, std::span<const std::uint8_t> data, std::string& value,
                                    std::uint32_t requiredType = 0);

}  // namespace vn
