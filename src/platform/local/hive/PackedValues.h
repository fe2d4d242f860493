#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryTree.h"

namespace vn {

class FoldedNames;

// One value of a packed blob, viewed in place.
struct PackedValue {
    std::string_view name;
    std::uint32_t type = 0;
    std::string_view data;
};

// The values of a packed blob, in their order; false, with values cleared,
// when the blob is not one that ValuePacker makes.
[[nodiscard]] bool UnpackValues(std::string_view packed, std::vector<PackedValue>& values);

// A key's values as one blob, kept in the key's own row: writing a tree
// then costs one row per key, not one per value. Each value is its name's
// size, the name, the type and the data's size (each size and the type four
// bytes, little-endian), then the data; values in the order of their folded
// names, one per folded name.
class ValuePacker {
public:
    // Adds a value; fold is its folded name and must outlive Pack.
    void Add(std::string_view name, std::string_view fold, std::uint32_t type, std::string_view data);
    void AddTreeValues(const std::vector<RegistryTreeValue>& values, FoldedNames& folds);
    // The values added, as one key holds them: of names that fold alike the
    // first spelling with the last type and data. Starts afresh after.
    void Pack(std::string& packed);
    // As Pack, with the values of the blob stored before those added: what
    // setting the added values one by one over the stored ones gives. False
    // when stored is malformed.
    [[nodiscard]] bool PackOver(std::string_view stored, std::string& packed);

private:
    struct Entry {
        std::string_view name;
        std::string_view fold;
        std::uint32_t type;
        std::string_view data;
    };

    std::vector<Entry> entries_;
    std::vector<std::uint32_t> order_;
    std::vector<PackedValue> stored_;
    std::vector<std::string> storedFolds_;
};

}  // namespace vn
