#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryTree.h"
#include "platform/Status.h"
#include "platform/local/hive/DeadlineThread.h"
#include "platform/local/hive/SqliteStatement.h"
#include "platform/local/hive/SqliteStatementCache.h"

struct sqlite3;

namespace vn {

class RegistryTreeVisitor;
class SqliteTreeWriter;

// One registry hive kept in an SQLite file: a tree of keys, each with named
// values (type + raw bytes). Names compare by their folded form
// (FoldRegistryName) and keep the spelling they were created with.
//
// A missing file is an empty hive; the file and its directory are created
// by the first write (see the constructor for their permissions). Every
// write is one SQLite transaction taken with BEGIN IMMEDIATE (so two programs
// sharing the file queue up behind the busy time-out instead of failing on a
// lock upgrade). Between BeginGroup and EndGroup all writes share one
// transaction.
//
// Reads outside a write share one read transaction of at most kReadBurst
// instead of locking the file for every query; a thread ends it on time when
// no further call comes. Another program's writer waits at most that long
// for it, and reads never see stale data: no program can commit while the
// transaction holds the file's shared lock.
//
// Key ids are never reused (AUTOINCREMENT), so an id that is gone always
// means that the key was deleted, and keys never move, so a key's id is
// always larger than its parent's. Thread-safe.
class SqliteHive {
public:
    using KeyId = std::int64_t;
    static constexpr KeyId kRootKey = 1;
    static constexpr std::chrono::milliseconds kReadBurst{10};

    // directoryMode, fileMode: permissions of the directories and the file
    // created for the hive.
    explicit SqliteHive(std::string path, unsigned directoryMode = 0755, unsigned fileMode = 0644,
                        std::chrono::milliseconds busyTimeout = std::chrono::milliseconds(5000));
    ~SqliteHive();
    SqliteHive(const SqliteHive&) = delete;
    SqliteHive& operator=(const SqliteHive&) = delete;

    const std::string& Path() const { return path_; }

    // True when the file exists but cannot be written by this program.
    bool IsReadOnly();

    // ERROR_KEY_DELETED when the key no longer exists.
    [[nodiscard]] Status CheckKey(KeyId key);

    // The key at path below from; 2 when a component is missing.
    [[nodiscard]] Status FindKey(KeyId from, const std::vector<std::string>& path, KeyId& result);

    // Like FindKey, creating missing components; with mayCreate false a
    // missing component gives ERROR_ACCESS_DENIED.
    [[nodiscard]] Status CreateKey(KeyId from, const std::vector<std::string>& path, bool mayCreate, KeyId& result);

    [[nodiscard]] Status QueryValue(KeyId key, std::string_view name, std::uint32_t& type,
                                    std::vector<std::uint8_t>& data);
    [[nodiscard]] Status SetValue(KeyId key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                                  std::uint32_t size);

    // The name of the index-th sub-key in folded-name order; 259 past the end.
    [[nodiscard]] Status EnumKey(KeyId key, std::uint32_t index, std::string& name);
    // The names of all sub-keys in the same order, read in one pass.
    [[nodiscard]] Status EnumKeys(KeyId key, std::vector<std::string>& names);

    // Creates each tree below key (opening the keys that exist) and sets its
    // values, in one write: nothing of it lands when a part fails.
    [[nodiscard]] Status WriteTrees(KeyId key, const std::vector<RegistryTree>& trees);
    // Makes the sub-keys of key exactly trees, as deleting them all and
    // WriteTrees would, in one write; what is stored as given stays untouched.
    [[nodiscard]] Status ReplaceTrees(KeyId key, const std::vector<RegistryTree>& trees);
    // Hands the sub-keys of key with their subtrees to visitor, each level
    // in EnumKeys's order, with the values named in valueNames. The tables
    // are read first, in one read transaction; the visitor runs after, with
    // the hive free for other calls.
    [[nodiscard]] Status VisitTrees(KeyId key, const std::vector<std::string>& valueNames,
                                    RegistryTreeVisitor& visitor);

    // Deletes the key at path below from with everything under it; an empty
    // path deletes from itself (the hive's root refuses with 5).
    [[nodiscard]] Status DeleteTree(KeyId from, const std::vector<std::string>& path);

    // Write groups nest: only the outermost EndGroup commits or rolls back.
    // A group abandoned at any depth makes the whole outermost group roll back.
    // The outermost BeginGroup takes the hive for writing at once (waiting
    // up to the busy time-out), so reads inside the group see exactly what
    // its writes change; when it cannot, nothing of the group lands.
    void BeginGroup();
    [[nodiscard]] Status EndGroup(bool commit);

private:
    // A write of trees below key, which must exist, through a writer for it.
    [[nodiscard]] Status WriteBelow(KeyId key, const std::function<Status(SqliteTreeWriter&)>& body);
    // Whether a write's body makes at most one change (a single statement,
    // which SQLite undoes by itself when it fails) or several.
    enum class Changes { One, Several };
    // Whether a look-up must also check that the parent key still exists.
    enum class Parent { Check, Known };

    [[nodiscard]] Status OpenExisting();
    [[nodiscard]] Status OpenWritable();
    // Whether the open hive is one this program may not write.
    bool RefusesWrites() const;
    void Close();
    [[nodiscard]] Status FindKeyLocked(KeyId from, const std::vector<std::string>& path, KeyId& result);
    [[nodiscard]] Status CheckKeyLocked(KeyId key);
    template <typename Body>
    [[nodiscard]] Status Write(Changes changes, Body&& body);
    [[nodiscard]] Status WriteValueLocked(KeyId key, std::string_view name, std::uint32_t type,
                                          const std::uint8_t* data, std::uint32_t size);
    struct IdRange {
        KeyId first;
        KeyId last;
    };
    // The ids of top and every key below it, as ranges with no other key's
    // id inside.
    [[nodiscard]] Status SubtreeIdRanges(KeyId top, std::vector<IdRange>& ranges);
    [[nodiscard]] Status ChildId(KeyId parent, const std::string& name, Parent check, KeyId& child);
    // Opens the file when there is one and starts reading about key. With no
    // hive yet, the root answers emptyRootAnswer and other keys are deleted.
    [[nodiscard]] Status StartRead(KeyId key, Status emptyRootAnswer);
    SqliteStatement Prepare(std::string_view sql);
    [[nodiscard]] Status Execute(std::string_view sql);
    [[nodiscard]] Status BeginRead();
    void EndRead();
    void EndIdleRead();

    std::mutex mutex_;
    const std::string path_;
    const unsigned directoryMode_;
    const unsigned fileMode_;
    const int busyTimeoutMs_;
    sqlite3* db_ = nullptr;
    bool hasSchema_ = false;
    bool readOnlyCopy_ = false;  // db_ is an upgraded copy in memory of a file that cannot be written
    int groupDepth_ = 0;
    bool groupTransactionOpen_ = false;
    bool groupFailed_ = false;
    SqliteStatementCache statements_;
    bool readOpen_ = false;  // a shared read transaction (not a write) is open
    std::chrono::steady_clock::time_point readStarted_;
    DeadlineThread readEnder_;  // last: stopped before the members it uses go
};

}  // namespace vn
