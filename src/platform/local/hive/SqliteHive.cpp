#include "platform/local/hive/SqliteHive.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/Registry.h"
#include "platform/local/LocalStatusCodes.h"
#include "platform/local/hive/PackedValues.h"
#include "platform/local/hive/RegistryNames.h"
#include "platform/local/hive/SqliteHiveLayout.h"
#include "platform/local/hive/SqliteStatement.h"
#include "platform/local/hive/SqliteTreeReplacer.h"
#include "platform/local/hive/SqliteTreeRows.h"
#include "platform/local/hive/SqliteTreeWriter.h"

namespace vn {
SqliteHive::SqliteHive(std::string path, unsigned directoryMode, unsigned fileMode,
                       std::chrono::milliseconds busyTimeout)
    : path_(std::move(path)),
      directoryMode_(directoryMode),
      fileMode_(fileMode),
      busyTimeoutMs_(static_cast<int>(busyTimeout.count())),
      readEnder_([this] { EndIdleRead(); }) {}

SqliteHive::~SqliteHive() {
    readEnder_.Stop();
    Close();
}

void SqliteHive::Close() {
    // An open transaction (an abandoned write group) is rolled back here.
    statements_.Clear();
    sqlite3_close_v2(db_);
    db_ = nullptr;
    hasSchema_ = false;
    readOnlyCopy_ = false;
    readOpen_ = false;
}

SqliteStatement SqliteHive::Prepare(std::string_view sql) { return SqliteStatement(statements_, db_, sql); }

Status SqliteHive::Execute(std::string_view sql) { return Prepare(sql).Run(); }

Status SqliteHive::BeginRead() {
    // An error such as I/O or a full disk may have ended the transaction.
    if (readOpen_ && sqlite3_get_autocommit(db_))
        readOpen_ = false;
    // A long run of reads still lets waiting writers in now and then.
    if (readOpen_ && std::chrono::steady_clock::now() - readStarted_ >= kReadBurst)
        EndRead();
    if (!sqlite3_get_autocommit(db_))
        return ERROR_SUCCESS;  // inside a read burst or a write
    if (Status status = Execute("BEGIN"); status != ERROR_SUCCESS)
        return status;
    readOpen_ = true;
    readStarted_ = std::chrono::steady_clock::now();
    readEnder_.Arm(readStarted_ + kReadBurst);
    return ERROR_SUCCESS;
}

void SqliteHive::EndRead() {
    if (!readOpen_)
        return;
    readOpen_ = false;
    // A read has nothing to keep: a rollback that fails found the
    // transaction already ended by SQLite.
    if (!sqlite3_get_autocommit(db_) && Execute("COMMIT") != ERROR_SUCCESS)
        (void)Execute("ROLLBACK");
}

void SqliteHive::EndIdleRead() {
    std::lock_guard lock(mutex_);
    if (readOpen_ && std::chrono::steady_clock::now() - readStarted_ >= kReadBurst)
        EndRead();
}

Status SqliteHive::OpenExisting() {
    if (db_)
        return ERROR_SUCCESS;
    OpenedHive opened;
    if (Status status = OpenHiveFile(path_, busyTimeoutMs_, opened); status != ERROR_SUCCESS)
        return status;
    db_ = opened.db;
    hasSchema_ = opened.hasTables;
    readOnlyCopy_ = opened.inMemoryCopy;
    return ERROR_SUCCESS;
}

Status SqliteHive::OpenWritable() {
    if (Status status = OpenExisting(); status != ERROR_SUCCESS)
        return status;
    if (!db_) {
        if (Status status = CreateHiveFile(path_, directoryMode_, fileMode_, busyTimeoutMs_, db_);
            status != ERROR_SUCCESS)
            return status;
    }
    if (RefusesWrites())
        return ERROR_ACCESS_DENIED;
    if (!hasSchema_) {
        if (Status status = CreateHiveTables(db_); status != ERROR_SUCCESS)
            return status;
        hasSchema_ = true;
    }
    return ERROR_SUCCESS;
}

template <typename Body>
Status SqliteHive::Write(Changes changes, Body&& body) {
    const bool grouped = groupDepth_ > 0;
    if (grouped && groupFailed_)
        return ERROR_CANTWRITE;
    // A write needs the file to itself: the read burst ends first.
    EndRead();
    if (Status status = OpenWritable(); status != ERROR_SUCCESS)
        return status;
    if (grouped && !groupTransactionOpen_) {
        if (Status status = Execute("BEGIN IMMEDIATE"); status != ERROR_SUCCESS)
            return status;
        groupTransactionOpen_ = true;
    }
    // A write that fails must leave nothing of itself behind while the group
    // goes on. SQLite undoes a failed statement by itself (or, for some
    // failures, the whole transaction, handled below); a write of several
    // changes is a savepoint.
    const bool savepoint = grouped && changes == Changes::Several;
    if (!grouped || savepoint) {
        if (Status status = Execute(grouped ? "SAVEPOINT step" : "BEGIN IMMEDIATE"); status != ERROR_SUCCESS)
            return status;
    }
    Status result = body();
    if (grouped) {
        if (savepoint) {
            // A write whose changes cannot be undone, or cannot be closed as
            // one step, would leave part of itself in the group: the group
            // then commits nothing.
            if (result != ERROR_SUCCESS && Execute("ROLLBACK TO step") != ERROR_SUCCESS)
                groupFailed_ = true;
            if (const Status released = Execute("RELEASE step"); released != ERROR_SUCCESS) {
                groupFailed_ = true;
                if (result == ERROR_SUCCESS)
                    result = released;
            }
        }
        // Some failures (disk full, I/O) make SQLite drop the whole
        // transaction: the group's earlier writes are gone with it.
        if (sqlite3_get_autocommit(db_)) {
            groupTransactionOpen_ = false;
            groupFailed_ = true;
            if (result == ERROR_SUCCESS)
                result = ERROR_CANTWRITE;
        }
        return result;
    }
    if (result == ERROR_SUCCESS)
        result = Execute("COMMIT");
    // The write's own failure is the one to report; a rollback fails only
    // when SQLite has ended the transaction itself.
    if (result != ERROR_SUCCESS)
        (void)Execute("ROLLBACK");
    return result;
}

bool SqliteHive::IsReadOnly() {
    std::lock_guard lock(mutex_);
    return OpenExisting() == ERROR_SUCCESS && db_ && RefusesWrites();
}

bool SqliteHive::RefusesWrites() const { return readOnlyCopy_ || sqlite3_db_readonly(db_, "main") == 1; }

Status SqliteHive::CheckKey(KeyId key) {
    std::lock_guard lock(mutex_);
    return CheckKeyLocked(key);
}

Status SqliteHive::StartRead(KeyId key, Status emptyRootAnswer) {
    if (Status status = OpenExisting(); status != ERROR_SUCCESS)
        return status;
    if (!db_ || !hasSchema_)
        return key == kRootKey ? emptyRootAnswer : ERROR_KEY_DELETED;
    return BeginRead();
}

Status SqliteHive::CheckKeyLocked(KeyId key) {
    if (Status status = StartRead(key, ERROR_SUCCESS); status != ERROR_SUCCESS || key == kRootKey)
        return status;
    SqliteStatement query = Prepare("SELECT 1 FROM keys WHERE id = ?");
    const bool found = query.Bind(1, key).Step();
    if (query.status() != ERROR_SUCCESS)
        return query.status();
    return found ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

Status SqliteHive::ChildId(KeyId parent, const std::string& name, Parent check, KeyId& child) {
    const std::string fold = FoldRegistryName(name);
    // Checking the parent in the same query saves a statement per step.
    SqliteStatement query =
        Prepare(check == Parent::Check ? "SELECT (SELECT id FROM keys WHERE parent = ?1 AND fold = ?2) "
                                         "FROM keys WHERE id = ?1"
                                       : "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2");
    query.Bind(1, parent).BindBlob(2, fold.data(), fold.size());
    if (!query.Step())
        return query.status() != ERROR_SUCCESS ? query.status()
               : check == Parent::Check        ? ERROR_KEY_DELETED
                                               : ERROR_FILE_NOT_FOUND;
    if (query.ColumnIsNull(0))
        return ERROR_FILE_NOT_FOUND;
    child = query.ColumnInt(0);
    return ERROR_SUCCESS;
}

Status SqliteHive::FindKeyLocked(KeyId from, const std::vector<std::string>& path, KeyId& result) {
    if (path.empty()) {
        result = from;
        return CheckKeyLocked(from);
    }
    if (Status status = StartRead(from, ERROR_FILE_NOT_FOUND); status != ERROR_SUCCESS)
        return status;
    KeyId current = from;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (Status status = ChildId(current, path[i], i == 0 ? Parent::Check : Parent::Known, current);
            status != ERROR_SUCCESS)
            return status;
    }
    result = current;
    return ERROR_SUCCESS;
}

Status SqliteHive::FindKey(KeyId from, const std::vector<std::string>& path, KeyId& result) {
    std::lock_guard lock(mutex_);
    return FindKeyLocked(from, path, result);
}

Status SqliteHive::CreateKey(KeyId from, const std::vector<std::string>& path, bool mayCreate, KeyId& result) {
    std::lock_guard lock(mutex_);
    // An existing key is only opened: no write, so read-only hives allow it.
    if (Status status = FindKeyLocked(from, path, result); status != ERROR_FILE_NOT_FOUND)
        return status;
    if (!mayCreate)
        return ERROR_ACCESS_DENIED;
    // FindKeyLocked did not find it, so path is not empty.
    return Write(path.size() == 1 ? Changes::One : Changes::Several, [&]() -> Status {
        KeyId current = from;
        for (std::size_t i = 0; i < path.size(); ++i) {
            const std::string& component = path[i];
            const Status found = ChildId(current, component, i == 0 ? Parent::Check : Parent::Known, current);
            if (found == ERROR_SUCCESS)
                continue;
            if (found != ERROR_FILE_NOT_FOUND)
                return found;
            const std::string fold = FoldRegistryName(component);
            SqliteStatement insert = Prepare("INSERT INTO keys(parent, name, fold) VALUES(?, ?, ?)");
            if (Status status = insert.Bind(1, current).Bind(2, component).BindBlob(3, fold.data(), fold.size()).Run();
                status != ERROR_SUCCESS)
                return status;
            current = sqlite3_last_insert_rowid(db_);
        }
        result = current;
        return ERROR_SUCCESS;
    });
}

Status SqliteHive::QueryValue(KeyId key, std::string_view name, std::uint32_t& type, std::vector<std::uint8_t>& data) {
    std::lock_guard lock(mutex_);
    if (Status status = StartRead(key, ERROR_FILE_NOT_FOUND); status != ERROR_SUCCESS)
        return status;
    SqliteStatement query = Prepare("SELECT vals FROM keys WHERE id = ?");
    if (!query.Bind(1, key).Step())
        return query.status() != ERROR_SUCCESS ? query.status() : ERROR_KEY_DELETED;
    std::vector<PackedValue> values;
    if (!UnpackValues(query.ColumnView(0), values))
        return ERROR_BADDB;
    for (const PackedValue& value : values) {
        if (NamesEqualFolded(value.name, name)) {
            type = value.type;
            data.assign(value.data.begin(), value.data.end());
            return ERROR_SUCCESS;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

Status SqliteHive::SetValue(KeyId key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                            std::uint32_t size) {
    std::lock_guard lock(mutex_);
    // Checked up front so that a deleted key is reported as such even where
    // writing fails (no file yet, read-only file). Inside the group's open
    // transaction nothing can change before the write checks it again.
    if (!groupTransactionOpen_ || groupFailed_) {
        if (Status status = CheckKeyLocked(key); status != ERROR_SUCCESS)
            return status;
    }
    return Write(Changes::One, [&]() -> Status {
        if (Status status = CheckKeyLocked(key); status != ERROR_SUCCESS)
            return status;
        return WriteValueLocked(key, name, type, data, size);
    });
}

Status SqliteHive::WriteValueLocked(KeyId key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                                    std::uint32_t size) {
    const std::string fold = FoldRegistryName(name);
    ValuePacker value;
    value.Add(name, fold, type, std::string_view(reinterpret_cast<const char*>(data), size));
    return SetStoredValues(db_, statements_, key, value);
}

Status SqliteHive::WriteBelow(KeyId key, const std::function<Status(SqliteTreeWriter&)>& body) {
    std::lock_guard lock(mutex_);
    // As SetValue: a deleted key is reported as such even where writing fails.
    if (!groupTransactionOpen_ || groupFailed_) {
        if (Status status = CheckKeyLocked(key); status != ERROR_SUCCESS)
            return status;
    }
    return Write(Changes::Several, [&]() -> Status {
        if (Status status = CheckKeyLocked(key); status != ERROR_SUCCESS)
            return status;
        SqliteTreeWriter writer(db_, statements_, [this](KeyId parent, const std::string& name, KeyId& child) {
            return ChildId(parent, name, Parent::Known, child);
        });
        return body(writer);
    });
}

Status SqliteHive::WriteTrees(KeyId key, const std::vector<RegistryTree>& trees) {
    return WriteBelow(key, [&](SqliteTreeWriter& writer) { return writer.Write(key, trees); });
}

Status SqliteHive::ReplaceTrees(KeyId key, const std::vector<RegistryTree>& trees) {
    return WriteBelow(key, [&](SqliteTreeWriter& writer) {
        SqliteTreeReplacer replacer(db_, statements_, writer);
        return replacer.Replace(key, trees);
    });
}

Status SqliteHive::EnumKey(KeyId key, std::uint32_t index, std::string& name) {
    std::lock_guard lock(mutex_);
    if (Status status = StartRead(key, ERROR_NO_MORE_ITEMS); status != ERROR_SUCCESS)
        return status;
    // No row: the key is gone; a null name: index is past the last sub-key.
    SqliteStatement query = Prepare(
        "SELECT (SELECT name FROM keys WHERE parent = ?1 ORDER BY fold LIMIT 1 OFFSET ?2) "
        "FROM keys WHERE id = ?1");
    query.Bind(1, key).Bind(2, static_cast<std::int64_t>(index));
    if (!query.Step())
        return query.status() != ERROR_SUCCESS ? query.status() : ERROR_KEY_DELETED;
    if (query.ColumnIsNull(0))
        return ERROR_NO_MORE_ITEMS;
    name = query.ColumnText(0);
    return ERROR_SUCCESS;
}

Status SqliteHive::EnumKeys(KeyId key, std::vector<std::string>& names) {
    std::lock_guard lock(mutex_);
    names.clear();
    if (Status status = CheckKeyLocked(key); status != ERROR_SUCCESS || !db_ || !hasSchema_)
        return status;
    // One walk of the (parent, fold) index, in the same read transaction as
    // the check above.
    SqliteStatement query = Prepare("SELECT name FROM keys WHERE parent = ? ORDER BY fold");
    query.Bind(1, key);
    while (query.Step())
        names.push_back(query.ColumnText(0));
    if (query.status() != ERROR_SUCCESS)
        names.clear();
    return query.status();
}

Status SqliteHive::VisitTrees(KeyId key, const std::vector<std::string>& valueNames, RegistryTreeVisitor& visitor) {
    SqliteTreeRows rows;
    {
        std::lock_guard lock(mutex_);
        if (Status status = CheckKeyLocked(key); status != ERROR_SUCCESS || !db_ || !hasSchema_)
            return status;
        if (Status status = rows.Read(db_, statements_, &valueNames); status != ERROR_SUCCESS)
            return status;
    }
    rows.Visit(key, visitor);
    return ERROR_SUCCESS;
}

Status SqliteHive::DeleteTree(KeyId from, const std::vector<std::string>& path) {
    std::lock_guard lock(mutex_);
    // Looked up first outside a write, so that a missing key is reported as
    // such also where writing fails (no file yet, read-only file).
    KeyId target = 0;
    if (Status status = FindKeyLocked(from, path, target); status != ERROR_SUCCESS)
        return status;
    if (target == kRootKey)
        return ERROR_ACCESS_DENIED;
    return Write(Changes::Several, [&]() -> Status {
        // And again inside the write: another program may have replaced the
        // key since, and the delete takes what is there now, never a key id
        // that is gone while a new tree stands under the same name.
        if (Status status = FindKeyLocked(from, path, target); status != ERROR_SUCCESS)
            return status == ERROR_KEY_DELETED && !path.empty() ? ERROR_FILE_NOT_FOUND : status;
        if (target == kRootKey)
            return ERROR_ACCESS_DENIED;
        std::vector<IdRange> ranges;
        if (Status status = SubtreeIdRanges(target, ranges); status != ERROR_SUCCESS)
            return status;
        for (const IdRange& range : ranges) {
            if (Status status = DeleteKeyRange(db_, statements_, range.first, range.last); status != ERROR_SUCCESS)
                return status;
        }
        return ERROR_SUCCESS;
    });
}

Status SqliteHive::SubtreeIdRanges(KeyId top, std::vector<IdRange>& ranges) {
    // A key is made after its parent, so its id is the larger: one scan in
    // id order from the top decides every key by its parent, and keys of
    // the subtree that follow each other in that order make one range. A
    // saved tree, written in one go, is a single range.
    std::vector<KeyId> members{top};  // ascending
    ranges.assign(1, {top, top});
    bool extending = true;
    SqliteStatement scan = Prepare("SELECT id, parent FROM keys WHERE id > ? ORDER BY id");
    scan.Bind(1, top);
    while (scan.Step()) {
        const KeyId id = scan.ColumnInt(0);
        if (!std::binary_search(members.begin(), members.end(), scan.ColumnInt(1))) {
            extending = false;
            continue;
        }
        members.push_back(id);
        if (extending)
            ranges.back().last = id;
        else
            ranges.push_back({id, id});
        extending = true;
    }
    return scan.status();
}

void SqliteHive::BeginGroup() {
    std::lock_guard lock(mutex_);
    if (groupDepth_++ > 0)
        return;
    // The group's transaction starts now rather than at its first write, so
    // that what the group reads is what its writes build on: no other
    // program can change the hive in between.
    EndRead();
    if (OpenWritable() != ERROR_SUCCESS)
        return;  // a hive that cannot be written: the group's writes fail by themselves
    if (Execute("BEGIN IMMEDIATE") == ERROR_SUCCESS)
        groupTransactionOpen_ = true;
    else
        groupFailed_ = true;  // busy past the time-out: nothing of the group may land
}

Status SqliteHive::EndGroup(bool commit) {
    std::lock_guard lock(mutex_);
    if (groupDepth_ == 0)
        return ERROR_INVALID_PARAMETER;
    if (!commit)
        groupFailed_ = true;
    if (--groupDepth_ > 0)
        return groupFailed_ ? ERROR_CANTWRITE : ERROR_SUCCESS;
    Status result = ERROR_SUCCESS;
    if (groupTransactionOpen_) {
        if (!groupFailed_)
            result = Execute("COMMIT");
        // A commit that failed (e.g. busy) leaves the transaction open. A
        // rollback fails only when SQLite has ended it itself.
        if (groupFailed_ || result != ERROR_SUCCESS)
            (void)Execute("ROLLBACK");
    }
    if (commit && groupFailed_ && result == ERROR_SUCCESS)
        result = ERROR_CANTWRITE;
    groupTransactionOpen_ = false;
    groupFailed_ = false;
    return result;
}

}  // namespace vn
