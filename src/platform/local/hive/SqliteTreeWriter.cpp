#include "platform/local/hive/SqliteTreeWriter.h"

#include <algorithm>
#include <string_view>

#include "platform/Registry.h"
#include "platform/local/LocalStatusCodes.h"
#include "platform/local/hive/RegistryNames.h"
#include "platform/local/hive/SqliteStatement.h"

namespace vn {

SqliteTreeWriter::SqliteTreeWriter(sqlite3* db, SqliteStatementCache& statements, ChildLookup lookUp)
    : db_(db),
      lookUp_(std::move(lookUp)),
      statements_(statements),
      // OR FAIL: an insert of many rows that could abort half-way would keep
      // a journal of its own of every page it changes (for a large tree, more
      // bytes than the hive); the writer's transaction or savepoint undoes a
      // failed write whole.
      keys_(db, statements, "INSERT OR FAIL INTO keys(id, parent, name, fold, vals) VALUES", 5) {}

Status SetStoredValues(sqlite3* db, SqliteStatementCache& statements, std::int64_t key, ValuePacker& values) {
    std::string packed;
    {
        SqliteStatement stored(statements, db, "SELECT vals FROM keys WHERE id = ?");
        if (!stored.Bind(1, key).Step())
            return stored.status() != ERROR_SUCCESS ? stored.status() : ERROR_KEY_DELETED;
        if (!values.PackOver(stored.ColumnView(0), packed))
            return ERROR_BADDB;
    }
    SqliteStatement update(statements, db, "UPDATE keys SET vals = ? WHERE id = ?");
    return update.BindBlob(1, packed.data(), packed.size()).Bind(2, key).Run();
}

Status FoldKeyNames(const std::vector<RegistryTree>& trees, std::vector<std::string>& folds) {
    folds.clear();
    folds.reserve(trees.size());
    for (const RegistryTree& tree : trees) {
        if (!IsStorableKeyName(tree.Name))
            return ERROR_INVALID_PARAMETER;
        folds.push_back(FoldRegistryName(tree.Name));
    }
    return ERROR_SUCCESS;
}

Status SqliteTreeWriter::Begin() {
    // The ids after every id the table ever gave: AUTOINCREMENT's own
    // record, or the largest id where that record is missing. Explicit ids
    // move the record on, so ids stay unused after this write too.
    SqliteStatement last(db_,
                         "SELECT max(coalesce((SELECT seq FROM sqlite_sequence WHERE name = 'keys'), 0), "
                         "coalesce((SELECT max(id) FROM keys), 0))");
    if (!last.Step())
        return last.status() != ERROR_SUCCESS ? last.status() : ERROR_REGISTRY_IO_FAILED;
    nextId_ = last.ColumnInt(0) + 1;
    return ERROR_SUCCESS;
}

Status SqliteTreeWriter::Write(KeyId parent, const std::vector<RegistryTree>& trees) {
    if (Status status = Begin(); status != ERROR_SUCCESS)
        return status;
    if (Status status = WriteLevel(parent, Parent::Existing, trees); status != ERROR_SUCCESS)
        return status;
    return Flush();
}

Status SqliteTreeWriter::WriteNew(KeyId parent, const RegistryTree& tree) {
    if (!IsStorableKeyName(tree.Name))
        return ERROR_INVALID_PARAMETER;
    KeyId id = 0;
    if (Status status = InsertKey(parent, tree, FoldRegistryName(tree.Name), id); status != ERROR_SUCCESS)
        return status;
    return WriteLevel(id, Parent::New, tree.SubKeys);
}

Status SqliteTreeWriter::WriteLevel(KeyId parent, Parent known, const std::vector<RegistryTree>& trees) {
    std::vector<std::string> folds;
    if (Status status = FoldKeyNames(trees, folds); status != ERROR_SUCCESS)
        return status;
    const bool twins = HasDuplicateFolds(folds);
    for (std::size_t i = 0; i < trees.size(); ++i) {
        const RegistryTree& tree = trees[i];
        KeyId id = 0;
        Parent below = Parent::New;
        if (known == Parent::New && !twins) {
            if (Status status = InsertKey(parent, tree, std::move(folds[i]), id); status != ERROR_SUCCESS)
                return status;
        } else {
            // A key reached before in this write is found only once its rows
            // have landed.
            if (known == Parent::Merged || twins) {
                if (Status status = Flush(); status != ERROR_SUCCESS)
                    return status;
            }
            const Status found = lookUp_(parent, tree.Name, id);
            if (found == ERROR_FILE_NOT_FOUND) {
                if (Status status = InsertKey(parent, tree, std::move(folds[i]), id); status != ERROR_SUCCESS)
                    return status;
            } else if (found != ERROR_SUCCESS) {
                return found;
            } else {
                below = twins || known == Parent::Merged ? Parent::Merged : Parent::Existing;
                if (Status status = SetValuesOfStored(id, tree.Values); status != ERROR_SUCCESS)
                    return status;
            }
        }
        if (Status status = WriteLevel(id, below, tree.SubKeys); status != ERROR_SUCCESS)
            return status;
    }
    return ERROR_SUCCESS;
}

Status SqliteTreeWriter::InsertKey(KeyId parent, const RegistryTree& tree, std::string fold, KeyId& id) {
    id = nextId_++;
    std::string packed;
    packer_.AddTreeValues(tree.Values, valueFolds_);
    packer_.Pack(packed);
    keys_.Int(id).Int(parent).Text(tree.Name).Blob(keys_.Owned(std::move(fold))).Blob(keys_.Owned(std::move(packed)));
    return keys_.EndRow();
}

Status SqliteTreeWriter::SetValuesOfStored(KeyId key, const std::vector<RegistryTreeValue>& values) {
    if (values.empty())
        return ERROR_SUCCESS;
    // The key was found in the table: no row of it waits in the batch.
    packer_.AddTreeValues(values, valueFolds_);
    return SetStoredValues(db_, statements_, key, packer_);
}

Status SqliteTreeWriter::Flush() { return keys_.Flush(); }

}  // namespace vn
