#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryTree.h"
#include "platform/Status.h"
#include "platform/local/hive/PackedValues.h"
#include "platform/local/hive/RegistryNames.h"
#include "platform/local/hive/SqliteTreeRows.h"

struct sqlite3;

namespace vn {

class SqliteStatementCache;
class SqliteTreeWriter;

// Deletes the keys with ids first to last (both included).
[[nodiscard]] Status DeleteKeyRange(sqlite3* db, SqliteStatementCache& statements, std::int64_t first,
                                    std::int64_t last);

// Makes the sub-keys of a key exactly the trees given, inside the caller's
// write transaction: the result is that of deleting every sub-key and then
// writing the trees, but keys and values already stored as given are left
// as they are, so saving a tree that changed little writes little. Siblings,
// or values of one key, whose names compare equal are merged first as the
// writer would merge them: the first spelling stays, the last value wins.
class SqliteTreeReplacer {
public:
    using KeyId = std::int64_t;

    SqliteTreeReplacer(sqlite3* db, SqliteStatementCache& statements, SqliteTreeWriter& writer);

    [[nodiscard]] Status Replace(KeyId key, const std::vector<RegistryTree>& trees);

private:
    using Key = SqliteTreeRows::Key;

    [[nodiscard]] Status ReplaceLevel(const Key& parent, const std::vector<RegistryTree>& trees);
    [[nodiscard]] Status ReplaceKey(const Key& stored, const RegistryTree& tree);
    [[nodiscard]] Status ReplaceValues(const Key& stored, const std::vector<RegistryTreeValue>& values);
    // The stored child of parent whose folded name is fold, or null.
    const Key* StoredChild(const Key& parent, std::string_view fold) const;
    // Marks the key and everything below it for deletion.
    void Doom(const Key& key);
    [[nodiscard]] Status DeleteDoomed();

    sqlite3* db_;
    SqliteStatementCache& statements_;
    SqliteTreeWriter& writer_;
    SqliteTreeRows rows_;
    std::vector<bool> kept_;    // by place: matched by a tree
    std::vector<bool> doomed_;  // by place: to be deleted
    FoldedNames valueFolds_;
    ValuePacker packer_;
    std::string packed_;                            // of the key whose values are being replaced
    std::deque<std::vector<RegistryTree>> merged_;  // levels whose twins were merged
};

}  // namespace vn
