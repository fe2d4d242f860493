#include "platform/local/hive/SqliteTreeRows.h"

#include <algorithm>

#include "platform/RegistryTreeVisitor.h"
#include "platform/local/LocalStatusCodes.h"
#include "platform/local/hive/RegistryNames.h"
#include "platform/local/hive/SqliteStatement.h"

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
    if (Status status = ReadKeys(db, statements, valueNames); status != ERROR_SUCCESS)
        return status;
    return ReadChildOrder(db, statements);
}

Status SqliteTreeRows::ReadKeys(sqlite3* db, SqliteStatementCache& statements,
                                const std::vector<std::string>* valueNames) {
    SqliteStatement query(statements, db, "SELECT id, name, fold, vals FROM keys ORDER BY id");
    while (query.Step()) {
        const std::string_view name = query.ColumnView(1);
        const std::string_view fold = query.ColumnView(2);
        const std::string_view packed = query.ColumnView(3);
        Key& key = keys_.emplace_back(Key{.id = query.ColumnInt(0),
                                          .name = text_.size(),
                                          .nameSize = static_cast<std::uint32_t>(name.size()),
                                          .foldSize = static_cast<std::uint32_t>(fold.size()),
                                          .packed = text_.size() + name.size() + fold.size(),
                                          .packedSize = static_cast<std::uint32_t>(packed.size())});
        text_ += name;
        text_ += fold;
        text_ += packed;
        if (valueNames != nullptr && !AddValues(key, *valueNames))
            return ERROR_BADDB;
    }
    return query.status();
}

bool SqliteTreeRows::AddValues(Key& key, const std::vector<std::string>& valueNames) {
    if (!UnpackValues(Packed(key), unpacked_))
        return false;
    key.firstValue = static_cast<std::uint32_t>(values_.size());
    for (const PackedValue& value : unpacked_) {
        // Of names asked for twice, the first place counts.
        const auto asked = std::find_if(valueNames.begin(), valueNames.end(), [&](const std::string& wanted) {
            return wanted == value.name || NamesEqualFolded(wanted, value.name);
        });
        if (asked == valueNames.end())
            continue;
        // The data stays where it is, in the copy of the blob in text_.
        values_.push_back({.nameIndex = static_cast<std::uint32_t>(asked - valueNames.begin()),
                           .type = value.type,
                           .data = static_cast<std::size_t>(value.data.data() - text_.data()),
                           .size = static_cast<std::uint32_t>(value.data.size())});
        ++key.valueCount;
    }
    return true;
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
