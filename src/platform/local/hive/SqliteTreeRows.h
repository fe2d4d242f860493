#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"
#include "platform/local/hive/PackedValues.h"

struct sqlite3;

namespace vn {

class RegistryTreeVisitor;
class SqliteStatementCache;

// A hive's keys and values, read whole inside the caller's transaction and
// then walked as the subtree below any key: plain scans cost a fraction of
// a recursive query, and the trees read this way (the saved inventory) are
// most of their hive. Names and each key's packed values are held in one
// buffer, not in a string or vector each.
class SqliteTreeRows {
public:
    using KeyId = std::int64_t;

    struct Key {
        KeyId id = 0;
        std::size_t name = 0;  // in text_, followed by the folded name
        std::uint32_t nameSize = 0;
        std::uint32_t foldSize = 0;
        std::size_t packed = 0;  // in text_: the key's values as stored
        std::uint32_t packedSize = 0;
        std::uint32_t firstValue = 0;  // in values_
        std::uint32_t valueCount = 0;
        std::uint32_t firstChild = 0;  // in children_
        std::uint32_t childCount = 0;
    };
    struct Value {
        std::uint32_t nameIndex = 0;  // in the names asked for
        std::uint32_t type = 0;
        std::size_t data = 0;  // in text_
        std::uint32_t size = 0;
    };

    // Reads every key with its packed values and, of each, the values named
    // in valueNames (as the registry compares names); with null, none is
    // unpacked. ERROR_BADDB when values asked for are malformed.
    [[nodiscard]] Status Read(sqlite3* db, SqliteStatementCache& statements,
                              const std::vector<std::string>* valueNames);

    // Hands the sub-keys of key with their subtrees to visitor, each level
    // in the order of the keys' folded names (after a read by names).
    void Visit(KeyId key, RegistryTreeVisitor& visitor) const;

    // The key of that id, or null.
    const Key* Find(KeyId id) const;
    // Keys are held in id order: a key's place is its order among them.
    std::size_t PlaceOf(const Key& key) const { return static_cast<std::size_t>(&key - keys_.data()); }
    std::size_t KeyCount() const { return keys_.size(); }
    const Key& KeyAt(std::size_t place) const { return keys_[place]; }
    std::span<const std::uint32_t> ChildPlaces(const Key& key) const {
        return std::span(children_).subspan(key.firstChild, key.childCount);
    }
    std::span<const Value> ValuesOf(const Key& key) const {
        return std::span(values_).subspan(key.firstValue, key.valueCount);
    }
    std::string_view Name(const Key& key) const { return Text(key.name, key.nameSize); }
    std::string_view Fold(const Key& key) const { return Text(key.name + key.nameSize, key.foldSize); }
    std::string_view Packed(const Key& key) const { return Text(key.packed, key.packedSize); }
    std::span<const std::uint8_t> Data(const Value& value) const {
        return {reinterpret_cast<const std::uint8_t*>(text_.data() + value.data), value.size};
    }

private:
    [[nodiscard]] Status ReadKeys(sqlite3* db, SqliteStatementCache& statements,
                                  const std::vector<std::string>* valueNames);
    // Adds the values of the key's packed blob that were asked for.
    [[nodiscard]] bool AddValues(Key& key, const std::vector<std::string>& valueNames);
    [[nodiscard]] Status ReadChildOrder(sqlite3* db, SqliteStatementCache& statements);
    Key* FindMutable(KeyId id);
    std::string_view Text(std::size_t at, std::size_t size) const { return std::string_view(text_).substr(at, size); }
    void VisitChildren(const Key& parent, RegistryTreeVisitor& visitor) const;

    std::vector<Key> keys_;                // by id
    std::vector<Value> values_;            // by key, then folded name
    std::vector<std::uint32_t> children_;  // places of keys, each parent's run by folded name
    std::string text_;
    std::vector<PackedValue> unpacked_;  // of the key being read
};

}  // namespace vn
