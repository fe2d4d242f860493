#include "platform/local/SqliteTreeRows.h"

#include <algorithm>
#include <span>

#include "platform/RegistryTreeVisitor.h"
#include "platform/local/RegistryNames.h"
#include "platform/local/SqliteStatement.h"

namespace vn {

template <typename Keys>
auto* SqliteTreeRows::FindIn(Keys& keys, KeyId id) {
    const auto found =
        std::lower_bound(keys.begin(), keys.end(), id, [](const Key& key, KeyId wanted) { return key.id < wanted; });
    return found != keys.end() && found->id == id ? &*found : nullptr;
}

Status SqliteTreeRows::Read(sqlite3* db, SqliteStatementCache& statements, const std::vector<std::string>& valueNames) {
    if (Status status = ReadKeys(db, statements); status != ERROR_SUCCESS)
        return status;
    if (Status status = ReadValues(db, statements, valueNames); status != ERROR_SUCCESS)
        return status;
    return ReadChildOrder(db, statements);
}

Status SqliteTreeRows::ReadKeys(sqlite3* db, SqliteStatementCache& statements) {
    SqliteStatement query(statements, db, "SELECT id, name FROM keys ORDER BY id");
    while (query.Step()) {
        const std::string_view name = query.ColumnView(1);
        keys_.push_back(
            {.id = query.ColumnInt(0), .name = text_.size(), .nameSize = static_cast<std::uint32_t>(name.size())});
        text_ += name;
    }
    return query.status();
}

Status SqliteTreeRows::ReadValues(sqlite3* db, SqliteStatementCache& statements,
                                  const std::vector<std::string>& valueNames) {
    std::vector<std::string> wanted;
    wanted.reserve(valueNames.size());
    for (const std::string& name : valueNames)
        wanted.push_back(FoldRegistryName(name));
    // In key order, as the table holds them: each key's values are one run.
    SqliteStatement query(statements, db, "SELECT key, fold, type, data FROM vals ORDER BY key, fold");
    auto key = keys_.begin();
    while (query.Step()) {
        // Of names asked for twice, the first place counts.
        const auto asked = std::find(wanted.begin(), wanted.end(), query.ColumnView(1));
        if (asked == wanted.end())
            continue;
        const KeyId owner = query.ColumnInt(0);
        while (key != keys_.end() && key->id < owner)
            ++key;
        if (key == keys_.end() || key->id != owner)
            continue;  // a value without its key belongs to no tree
        const std::string_view data = query.ColumnView(3);
        if (key->valueCount++ == 0)
            key->firstValue = static_cast<std::uint32_t>(values_.size());
        values_.push_back({.nameIndex = static_cast<std::uint32_t>(asked - wanted.begin()),
                           .type = static_cast<std::uint32_t>(query.ColumnInt(2)),
                           .data = data_.size(),
                           .size = static_cast<std::uint32_t>(data.size())});
        data_.insert(data_.end(), data.begin(), data.end());
    }
    return query.status();
}

Status SqliteTreeRows::ReadChildOrder(sqlite3* db, SqliteStatementCache& statements) {
    // The unique index on (parent, fold) holds the ids as well: the order
    // EnumKeys gives, read without touching the table.
    SqliteStatement query(statements, db, "SELECT parent, id FROM keys ORDER BY parent, fold");
    children_.reserve(keys_.size());
    Key* parent = nullptr;
    while (query.Step()) {
        const KeyId parentId = query.ColumnInt(0);
        const Key* child = FindIn(keys_, query.ColumnInt(1));
        if (child == nullptr)
            continue;  // made after the keys were read: not part of this read
        if (parent == nullptr || parent->id != parentId) {
            parent = FindIn(keys_, parentId);
            if (parent == nullptr)
                continue;
            parent->firstChild = static_cast<std::uint32_t>(children_.size());
        }
        ++parent->childCount;
        children_.push_back(static_cast<std::uint32_t>(child - keys_.data()));
    }
    return query.status();
}

void SqliteTreeRows::Visit(KeyId key, RegistryTreeVisitor& visitor) const {
    if (const Key* parent = FindIn(keys_, key))
        VisitChildren(*parent, visitor);
}

void SqliteTreeRows::VisitChildren(const Key& parent, RegistryTreeVisitor& visitor) const {
    for (std::uint32_t i = 0; i < parent.childCount; ++i) {
        const Key& key = keys_[children_[parent.firstChild + i]];
        visitor.BeginKey(std::string_view(text_).substr(key.name, key.nameSize));
        for (std::uint32_t v = 0; v < key.valueCount; ++v) {
            const Value& value = values_[key.firstValue + v];
            visitor.Value(value.nameIndex, value.type, std::span(data_).subspan(value.data, value.size));
        }
        VisitChildren(key, visitor);
        visitor.EndKey();
    }
}

}  // namespace vn
