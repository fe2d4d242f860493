#include "platform/local/SqliteTreeRows.h"

#include <algorithm>

#include "platform/RegistryTreeVisitor.h"
#include "platform/local/RegistryNames.h"
#include "platform/local/SqliteStatement.h"

namespace vn {
namespace {

// The key of that id in keys (held in id order), or null.
template <typename Keys>
auto FindById(Keys& keys, std::int64_t id) -> decltype(keys.data()) {
    const auto found = std::lower_bound(keys.begin(), keys.end(), id,
                                        [](const auto& key, std::int64_t wanted) { return key.id < wanted; });
    return found != keys.end() && found->id == id ? &*found : nullptr;
}

}  // namespace

Status SqliteTreeRows::Read(sqlite3* db, SqliteStatementCache& statements, const std::vector<std::string>* valueNames) {
    if (Status status = ReadKeys(db, statements); status != ERROR_SUCCESS)
        return status;
    if (Status status = ReadValues(db, statements, valueNames); status != ERROR_SUCCESS)
        return status;
    return ReadChildOrder(db, statements);
}

Status SqliteTreeRows::ReadKeys(sqlite3* db, SqliteStatementCache& statements) {
    SqliteStatement query(statements, db, "SELECT id, name, fold FROM keys ORDER BY id");
    while (query.Step()) {
        const std::string_view name = query.ColumnView(1);
        const std::string_view fold = query.ColumnView(2);
        keys_.push_back({.id = query.ColumnInt(0),
                         .name = text_.size(),
                         .nameSize = static_cast<std::uint32_t>(name.size()),
                         .foldSize = static_cast<std::uint32_t>(fold.size())});
        text_ += name;
        text_ += fold;
    }
    return query.status();
}

Status SqliteTreeRows::ReadValues(sqlite3* db, SqliteStatementCache& statements,
                                  const std::vector<std::string>* valueNames) {
    std::vector<std::string> wanted;
    if (valueNames != nullptr) {
        wanted.reserve(valueNames->size());
        for (const std::string& name : *valueNames)
            wanted.push_back(FoldRegistryName(name));
    }
    // In key order, as the table holds them: each key's values are one run.
    SqliteStatement query(statements, db, "SELECT key, fold, type, data, name FROM vals ORDER BY key, fold");
    auto key = keys_.begin();
    while (query.Step()) {
        const std::string_view fold = query.ColumnView(1);
        // Of names asked for twice, the first place counts.
        const auto asked = std::find(wanted.begin(), wanted.end(), fold);
        if (valueNames != nullptr && asked == wanted.end())
            continue;
        const KeyId owner = query.ColumnInt(0);
        while (key != keys_.end() && key->id < owner)
            ++key;
        if (key == keys_.end() || key->id != owner)
            continue;  // a value without its key belongs to no tree
        if (key->valueCount++ == 0)
            key->firstValue = static_cast<std::uint32_t>(values_.size());
        const std::string_view data = query.ColumnView(3);
        Value& value = values_.emplace_back(Value{.nameIndex = static_cast<std::uint32_t>(asked - wanted.begin()),
                                                  .type = static_cast<std::uint32_t>(query.ColumnInt(2)),
                                                  .data = data_.size(),
                                                  .size = static_cast<std::uint32_t>(data.size())});
        data_.insert(data_.end(), data.begin(), data.end());
        if (valueNames == nullptr) {
            const std::string_view name = query.ColumnView(4);
            value.name = text_.size();
            value.nameSize = static_cast<std::uint32_t>(name.size());
            value.foldSize = static_cast<std::uint32_t>(fold.size());
            text_ += name;
            text_ += fold;
        }
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
        const Key* child = Find(query.ColumnInt(1));
        if (child == nullptr)
            continue;
        if (parent == nullptr || parent->id != parentId) {
            parent = FindMutable(parentId);
            if (parent == nullptr)
                continue;
            parent->firstChild = static_cast<std::uint32_t>(children_.size());
        }
        ++parent->childCount;
        children_.push_back(static_cast<std::uint32_t>(PlaceOf(*child)));
    }
    return query.status();
}

SqliteTreeRows::Key* SqliteTreeRows::FindMutable(KeyId id) { return FindById(keys_, id); }

const SqliteTreeRows::Key* SqliteTreeRows::Find(KeyId id) const { return FindById(keys_, id); }

void SqliteTreeRows::Visit(KeyId key, RegistryTreeVisitor& visitor) const {
    if (const Key* parent = Find(key))
        VisitChildren(*parent, visitor);
}

void SqliteTreeRows::VisitChildren(const Key& parent, RegistryTreeVisitor& visitor) const {
    for (const std::uint32_t place : ChildPlaces(parent)) {
        const Key& key = keys_[place];
        visitor.BeginKey(Name(key));
        for (const Value& value : ValuesOf(key))
            visitor.Value(value.nameIndex, value.type, Data(value));
        VisitChildren(key, visitor);
        visitor.EndKey();
    }
}

}  // namespace vn
