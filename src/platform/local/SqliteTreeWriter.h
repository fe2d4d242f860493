#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryTree.h"
#include "platform/Status.h"
#include "platform/local/RegistryNames.h"
#include "platform/local/SqliteRowBatch.h"

struct sqlite3;

namespace vn {

class SqliteStatementCache;

// A value row's insert up to its VALUES, and what an insert of values of
// existing keys ends with: an existing value keeps the spelling of its name.
// OR FAIL: an insert of many rows that could abort half-way would keep a
// journal of its own of every page it changes (for a large tree, more bytes
// than the hive); the writer's transaction or savepoint undoes a failed
// write whole.
inline constexpr std::string_view kInsertValueRows = "INSERT OR FAIL INTO vals(key, name, fold, type, data) VALUES";
inline constexpr std::string_view kSetValueOnConflict =
    "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data";

// The folded names of the trees, in their order; ERROR_INVALID_PARAMETER
// for a name no key can have.
[[nodiscard]] Status FoldKeyNames(const std::vector<RegistryTree>& trees, std::vector<std::string>& folds);

// Writes subtrees into a hive's tables inside the caller's write
// transaction, which undoes everything when Write fails.
//
// Below a key this write made nothing can exist yet, so such keys take the
// next ids in turn and land, with their values, in multi-row inserts without
// a look-up. Existing keys are looked up and opened, and siblings whose
// names compare equal merge into one key (values of one name: the last
// wins), exactly as one CreateKey and SetValue after another would.
class SqliteTreeWriter {
public:
    using KeyId = std::int64_t;
    // The id of parent's sub-key of that name, ERROR_FILE_NOT_FOUND when
    // there is none.
    using ChildLookup = std::function<Status(KeyId parent, const std::string& name, KeyId& child)>;

    SqliteTreeWriter(sqlite3* db, SqliteStatementCache& statements, ChildLookup lookUp);

    [[nodiscard]] Status Write(KeyId parent, const std::vector<RegistryTree>& trees);

    // For writes in parts: Begin first, then WriteNew for trees whose names
    // no sub-key of their parent has (nor each other's), then Flush.
    [[nodiscard]] Status Begin();
    [[nodiscard]] Status WriteNew(KeyId parent, const RegistryTree& tree);
    // Lands every row waiting, so that look-ups see them.
    [[nodiscard]] Status Flush();

private:
    // What is known of a key whose sub-keys are being written.
    enum class Parent {
        New,       // made by this write and reached once: nothing below it
        Existing,  // reached once; what is below it was there before
        Merged,    // reached again (a sibling of the same name): look below it afresh
    };

    [[nodiscard]] Status WriteLevel(KeyId parent, Parent known, const std::vector<RegistryTree>& trees);
    [[nodiscard]] Status InsertKey(KeyId parent, const std::string& name, std::string fold, KeyId& id);
    [[nodiscard]] Status AddValues(KeyId key, bool reachedOnce, const std::vector<RegistryTreeValue>& values);

    sqlite3* db_;
    ChildLookup lookUp_;
    KeyId nextId_ = 0;
    SqliteRowBatch keys_;
    SqliteRowBatch newValues_;  // values of keys made by this write and reached once
    SqliteRowBatch setValues_;  // any other values: set over one of the same name
    FoldedNames valueFolds_;
    std::vector<std::string_view> valueNameFolds_;  // of the key whose values are being added
};

}  // namespace vn
