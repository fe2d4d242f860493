#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

struct sqlite3;

namespace vn {

class RegistryTreeVisitor;
class SqliteStatementCache;

// A hive's keys and the values asked for, read whole inside the caller's
// read transaction and then walked as the subtree below any key: plain
// scans cost a fraction of a recursive query, and the trees read this way
// (the saved inventory) are most of their hive. Names and data are held in
// two buffers, not in a string or vector each.
class SqliteTreeRows {
public:
    using KeyId = std::int64_t;

    [[nodiscard]] Status Read(sqlite3* db, SqliteStatementCache& statements,
                              const std::vector<std::string>& valueNames);

    // Hands the sub-keys of key with their subtrees to visitor, each level
    // in the order of the keys' folded names.
    void Visit(KeyId key, RegistryTreeVisitor& visitor) const;

private:
    struct Key {
        KeyId id = 0;
        std::size_t name = 0;  // in text_
        std::uint32_t nameSize = 0;
        std::uint32_t firstValue = 0;  // in values_
        std::uint32_t valueCount = 0;
        std::uint32_t firstChild = 0;  // in children_
        std::uint32_t childCount = 0;
    };
    struct Value {
        std::uint32_t nameIndex = 0;  // in the names asked for
        std::uint32_t type = 0;
        std::size_t data = 0;  // in data_
        std::uint32_t size = 0;
    };

    [[nodiscard]] Status ReadKeys(sqlite3* db, SqliteStatementCache& statements);
    [[nodiscard]] Status ReadValues(sqlite3* db, SqliteStatementCache& statements,
                                    const std::vector<std::string>& valueNames);
    [[nodiscard]] Status ReadChildOrder(sqlite3* db, SqliteStatementCache& statements);
    // The key of that id in keys (keys_, const or not), or null.
    template <typename Keys>
    static auto* FindIn(Keys& keys, KeyId id);
    void VisitChildren(const Key& parent, RegistryTreeVisitor& visitor) const;

    std::vector<Key> keys_;                // by id
    std::vector<Value> values_;            // by key
    std::vector<std::uint32_t> children_;  // indexes in keys_, each parent's run by folded name
    std::string text_;
    std::vector<std::uint8_t> data_;
};

}  // namespace vn
