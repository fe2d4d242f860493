#include "platform/local/SqliteTreeWriter.h"

#include <algorithm>
#include <string_view>

#include "platform/Registry.h"
#include "platform/local/LocalStatusCodes.h"
#include "platform/local/RegistryNames.h"
#include "platform/local/SqliteStatement.h"

namespace vn {

SqliteTreeWriter::SqliteTreeWriter(sqlite3* db, SqliteStatementCache& statements, ChildLookup lookUp)
    : db_(db),
      lookUp_(std::move(lookUp)),
      // OR FAIL, as for values.
      keys_(db, statements, "INSERT OR FAIL INTO keys(id, parent, name, fold) VALUES", 4),
      newValues_(db, statements, std::string(kInsertValueRows), 5),
      setValues_(db, statements, std::string(kInsertValueRows), 5, std::string(kSetValueOnConflict)) {}

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
    if (Status status = InsertKey(parent, tree.Name, FoldRegistryName(tree.Name), id); status != ERROR_SUCCESS)
        return status;
    if (Status status = AddValues(id, true, tree.Values); status != ERROR_SUCCESS)
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
            if (Status status = InsertKey(parent, tree.Name, std::move(folds[i]), id); status != ERROR_SUCCESS)
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
                if (Status status = InsertKey(parent, tree.Name, std::move(folds[i]), id); status != ERROR_SUCCESS)
                    return status;
            } else if (found != ERROR_SUCCESS) {
                return found;
            } else {
                below = twins || known == Parent::Merged ? Parent::Merged : Parent::Existing;
            }
        }
        if (Status status = AddValues(id, below == Parent::New && !twins, tree.Values); status != ERROR_SUCCESS)
            return status;
        if (Status status = WriteLevel(id, below, tree.SubKeys); status != ERROR_SUCCESS)
            return status;
    }
    return ERROR_SUCCESS;
}

Status SqliteTreeWriter::InsertKey(KeyId parent, const std::string& name, std::string fold, KeyId& id) {
    id = nextId_++;
    keys_.Int(id).Int(parent).Text(name).Blob(keys_.Owned(std::move(fold)));
    return keys_.EndRow();
}

Status SqliteTreeWriter::AddValues(KeyId key, bool reachedOnce, const std::vector<RegistryTreeValue>& values) {
    std::vector<std::string_view>& folds = valueNameFolds_;
    folds.clear();
    for (const RegistryTreeValue& value : values)
        folds.push_back(valueFolds_.Of(value.Name));
    // Rows of one key and name in one plain insert would collide.
    SqliteRowBatch& batch = reachedOnce && !HasDuplicateFolds(folds) ? newValues_ : setValues_;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const RegistryTreeValue& value = values[i];
        batch.Int(key).Text(value.Name).Blob(folds[i]).Int(static_cast<std::int64_t>(value.Type)).Blob(value.Data);
        if (Status status = batch.EndRow(); status != ERROR_SUCCESS)
            return status;
    }
    return ERROR_SUCCESS;
}

Status SqliteTreeWriter::Flush() {
    for (SqliteRowBatch* batch : {&keys_, &newValues_, &setValues_}) {
        if (Status status = batch->Flush(); status != ERROR_SUCCESS)
            return status;
    }
    return ERROR_SUCCESS;
}

}  // namespace vn
