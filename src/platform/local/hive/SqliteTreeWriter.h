#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryTree.h"
#include "platform/Status.h"
#include "platform/local/hive/PackedValues.h"
#include "platform/local/hive/RegistryNames.h"
#include "platform/local/hive/SqliteRowBatch.h"

struct sqlite3;

namespace vn {

class SqliteStatementCache;

// Sets values of a stored key as setting them one by one would: a value
// already there keeps the spelling of its name. ERROR_KEY_DELETED when the
// key is gone, ERROR_BADDB when its stored values are malformed.
[[nodiscard]] Status SetStoredValues(sqlite3* db, SqliteStatementCache& statements, std::int64_t key,
                                     ValuePacker& values);

// The folded names of the trees, in their order; ERROR_INVALID_PARAMETER
// for a name no key can have.
[[nodiscard]] Status FoldKeyNames(const std::vector<RegistryTree>& trees, std::vector<std::string>& folds);

// Writes subtrees into a hive's tables inside the caller's write
// transaction, which undoes everything when Write fails.
//
// Below a key this write made nothing can exist yet, so such keys take the
// next ids in turn and land, each with its values in its row, in multi-row
// inserts without a look-up. Existing keys are looked up and opened, and
// siblings whose names compare equal merge into one key (values of one name:
// the last wins), exactly as one CreateKey and SetValue after another would.
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
    // Inserts a key with the tree's name and values.
    [[nodiscard]] Status InsertKey(KeyId parent, const RegistryTree& tree, std::string fold, KeyId& id);
    [[nodiscard]] Status SetValuesOfStored(KeyId key, const std::vector<RegistryTreeValue>& values);

    sqlite3* db_;
    ChildLookup lookUp_;
    KeyId nextId_ = 0;
    SqliteStatementCache& statements_;
    SqliteRowBatch keys_;
    FoldedNames valueFolds_;
    ValuePacker packer_;
};

}  // namespace vn
