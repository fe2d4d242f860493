#include "platform/local/hive/SqliteTreeReplacer.h"

#include <algorithm>
#include <unordered_map>

#include "platform/Registry.h"
#include "platform/local/LocalStatusCodes.h"
#include "platform/local/hive/RegistryNames.h"
#include "platform/local/hive/SqliteStatement.h"
#include "platform/local/hive/SqliteTreeWriter.h"

namespace vn {
namespace {

// Siblings of one folded name as one tree: the first one's spelling, then
// the values and the sub-keys of all of them in turn.
std::vector<RegistryTree> MergeTwins(const std::vector<RegistryTree>& trees, const std::vector<std::string>& folds) {
    std::vector<RegistryTree> merged;
    std::unordered_map<std::string_view, std::size_t> placeOf;
    for (std::size_t i = 0; i < trees.size(); ++i) {
        const auto [place, added] = placeOf.emplace(folds[i], merged.size());
        if (added) {
            merged.push_back(trees[i]);
            continue;
        }
        RegistryTree& into = merged[place->second];
        into.Values.insert(into.Values.end(), trees[i].Values.begin(), trees[i].Values.end());
        into.SubKeys.insert(into.SubKeys.end(), trees[i].SubKeys.begin(), trees[i].SubKeys.end());
    }
    return merged;
}

}  // namespace

Status DeleteKeyRange(sqlite3* db, SqliteStatementCache& statements, std::int64_t first, std::int64_t last) {
    SqliteStatement statement(statements, db, "DELETE FROM keys WHERE id BETWEEN ? AND ?");
    return statement.Bind(1, first).Bind(2, last).Run();
}

SqliteTreeReplacer::SqliteTreeReplacer(sqlite3* db, SqliteStatementCache& statements, SqliteTreeWriter& writer)
    : db_(db),
      statements_(statements),
      writer_(writer) {}

Status SqliteTreeReplacer::Replace(KeyId key, const std::vector<RegistryTree>& trees) {
    if (Status status = rows_.Read(db_, statements_, nullptr); status != ERROR_SUCCESS)
        return status;
    const Key* top = rows_.Find(key);
    if (top == nullptr)
        return ERROR_KEY_DELETED;
    kept_.assign(rows_.KeyCount(), false);
    doomed_.assign(rows_.KeyCount(), false);
    if (Status status = writer_.Begin(); status != ERROR_SUCCESS)
        return status;
    if (Status status = ReplaceLevel(*top, trees); status != ERROR_SUCCESS)
        return status;
    // New keys take ids after every stored one, so no range below holds one.
    if (Status status = DeleteDoomed(); status != ERROR_SUCCESS)
        return status;
    return writer_.Flush();
}

Status SqliteTreeReplacer::ReplaceLevel(const Key& parent, const std::vector<RegistryTree>& trees) {
    std::vector<std::string> folds;
    if (Status status = FoldKeyNames(trees, folds); status != ERROR_SUCCESS)
        return status;
    if (HasDuplicateFolds(folds)) {
        // Kept to the end: the writer holds on to the names and data it was given.
        merged_.push_back(MergeTwins(trees, folds));
        return ReplaceLevel(parent, merged_.back());
    }
    for (std::size_t i = 0; i < trees.size(); ++i) {
        const Key* stored = StoredChild(parent, folds[i]);
        const Status status = stored != nullptr ? ReplaceKey(*stored, trees[i]) : writer_.WriteNew(parent.id, trees[i]);
        if (status != ERROR_SUCCESS)
            return status;
    }
    for (const std::uint32_t place : rows_.ChildPlaces(parent)) {
        if (!kept_[place])
            Doom(rows_.KeyAt(place));
    }
    return ERROR_SUCCESS;
}

Status SqliteTreeReplacer::ReplaceKey(const Key& stored, const RegistryTree& tree) {
    kept_[rows_.PlaceOf(stored)] = true;
    // A rewrite would spell the key as the tree does.
    if (rows_.Name(stored) != tree.Name) {
        SqliteStatement rename(statements_, db_, "UPDATE keys SET name = ? WHERE id = ?");
        if (Status status = rename.Bind(1, tree.Name).Bind(2, stored.id).Run(); status != ERROR_SUCCESS)
            return status;
    }
    if (Status status = ReplaceValues(stored, tree.Values); status != ERROR_SUCCESS)
        return status;
    return ReplaceLevel(stored, tree.SubKeys);
}

Status SqliteTreeReplacer::ReplaceValues(const Key& stored, const std::vector<RegistryTreeValue>& values) {
    // Packed values are one blob for one set of values: equal blobs, equal
    // values, spellings included.
    packer_.AddTreeValues(values, valueFolds_);
    packer_.Pack(packed_);
    if (packed_ == rows_.Packed(stored))
        return ERROR_SUCCESS;
    SqliteStatement write(statements_, db_, "UPDATE keys SET vals = ? WHERE id = ?");
    return write.BindBlob(1, packed_.data(), packed_.size()).Bind(2, stored.id).Run();
}

const SqliteTreeReplacer::Key* SqliteTreeReplacer::StoredChild(const Key& parent, std::string_view fold) const {
    // A key's children are held in the order of their folded names.
    const auto places = rows_.ChildPlaces(parent);
    const auto found = std::lower_bound(
        places.begin(), places.end(), fold,
        [this](std::uint32_t place, std::string_view wanted) { return rows_.Fold(rows_.KeyAt(place)) < wanted; });
    if (found == places.end() || rows_.Fold(rows_.KeyAt(*found)) != fold)
        return nullptr;
    return &rows_.KeyAt(*found);
}

void SqliteTreeReplacer::Doom(const Key& key) {
    doomed_[rows_.PlaceOf(key)] = true;
    for (const std::uint32_t place : rows_.ChildPlaces(key))
        Doom(rows_.KeyAt(place));
}

Status SqliteTreeReplacer::DeleteDoomed() {
    // Keys are held in id order: each run of doomed ones is one range of ids.
    const std::size_t count = rows_.KeyCount();
    for (std::size_t first = 0; first < count; ++first) {
        if (!doomed_[first])
            continue;
        std::size_t last = first;
        while (last + 1 < count && doomed_[last + 1])
            ++last;
        if (Status status = DeleteKeyRange(db_, statements_, rows_.KeyAt(first).id, rows_.KeyAt(last).id);
            status != ERROR_SUCCESS)
            return status;
        first = last;
    }
    return ERROR_SUCCESS;
}

}  // namespace vn
