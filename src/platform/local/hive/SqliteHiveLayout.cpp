#include "platform/local/hive/SqliteHiveLayout.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/local/ErrnoStatus.h"
#include "platform/local/LocalStatusCodes.h"
#include "platform/local/hive/PackedValues.h"
#include "platform/local/hive/SqliteStatement.h"

namespace vn {

// The schema and the upgrade below write layout 2 by its number.
static_assert(kHiveLayout == 2);

const char* const kHiveSchema =
    "CREATE TABLE IF NOT EXISTS keys("
    "  id INTEGER PRIMARY KEY AUTOINCREMENT,"
    "  parent INTEGER NOT NULL,"
    "  name TEXT NOT NULL,"
    "  fold BLOB NOT NULL,"
    "  vals BLOB NOT NULL DEFAULT x'',"
    "  UNIQUE(parent, fold));"
    "INSERT OR IGNORE INTO keys(id, parent, name, fold) VALUES(1, 0, '', x'');"
    "PRAGMA user_version = 2;";

namespace {

// The connection is used only under the hive's own mutex: SQLite's locking
// of every call would be paid twice.
constexpr int kOpenFlags = SQLITE_OPEN_NOMUTEX;

// Creates every missing directory above the file.
[[nodiscard]] Status CreateParentDirectories(const std::string& file, unsigned mode) {
    for (std::size_t slash = file.find('/', 1); slash != std::string::npos; slash = file.find('/', slash + 1)) {
        const std::string directory = file.substr(0, slash);
        if (mkdir(directory.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST)
            return StatusFromErrno(errno);
    }
    return ERROR_SUCCESS;
}

// Creates the file empty (an empty file is an empty database) with its
// permissions, unless it exists: SQLite would create it readable by all.
Status CreateFileWithMode(const std::string& file, unsigned mode) {
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd < 0)
        return errno == EEXIST ? ERROR_SUCCESS : StatusFromErrno(errno);
    close(fd);
    return ERROR_SUCCESS;
}

// Opens path with flags and sets the connection up; db stays null on failure.
[[nodiscard]] Status OpenConnection(const char* path, int flags, int busyTimeoutMs, sqlite3*& db) {
    const int rc = sqlite3_open_v2(path, &db, flags | kOpenFlags, nullptr);
    if (rc != SQLITE_OK) {
        const Status status = StatusFromSqlite(db, rc);
        sqlite3_close_v2(db);
        db = nullptr;
        return status;
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    // Room for a large hive in memory (SQLite's default is 2 MiB), so that a
    // big write group does not spill into the file before its commit and
    // reads find their pages cached. Memory is only taken as pages are used.
    // Without it SQLite keeps its default cache: slower, not wrong.
    (void)ExecuteSql(db, "PRAGMA cache_size = -131072");
    return ERROR_SUCCESS;
}

// Runs body in a transaction of its own, committed when it succeeds.
[[nodiscard]] Status InOwnTransaction(sqlite3* db, const std::function<Status()>& body) {
    if (Status status = ExecuteSql(db, "BEGIN IMMEDIATE"); status != ERROR_SUCCESS)
        return status;
    Status status = body();
    if (status == ERROR_SUCCESS)
        status = ExecuteSql(db, "COMMIT");
    // The first failure is the one to report; a rollback fails only when
    // SQLite has ended the transaction itself.
    if (status != ERROR_SUCCESS)
        (void)ExecuteSql(db, "ROLLBACK");
    return status;
}

// Replaces db by a copy of it in memory.
[[nodiscard]] Status CopyIntoMemory(sqlite3*& db) {
    sqlite3* memory = nullptr;
    int rc = sqlite3_open_v2(":memory:", &memory, SQLITE_OPEN_READWRITE | kOpenFlags, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(memory, "main", db, "main");
        rc = backup != nullptr ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(memory);
        sqlite3_backup_finish(backup);
    }
    if (rc != SQLITE_DONE) {
        const Status status = StatusFromSqlite(memory, rc == SQLITE_OK ? SQLITE_ERROR : rc);
        sqlite3_close_v2(memory);
        return status;
    }
    sqlite3_close_v2(db);
    db = memory;
    return ERROR_SUCCESS;
}

// Brings the open file of an older layout up to date.
[[nodiscard]] Status UpgradeLayout(OpenedHive& opened) {
    // A file this program may not write is upgraded in a copy in memory,
    // which then stands for it, read-only, while the hive is open.
    if (sqlite3_db_readonly(opened.db, "main") == 1) {
        if (Status status = CopyIntoMemory(opened.db); status != ERROR_SUCCESS)
            return status;
        opened.inMemoryCopy = true;
    }
    sqlite3* db = opened.db;
    bool upgraded = false;
    const Status result = InOwnTransaction(db, [db, &upgraded] {
        bool upgrade = false;
        Status status = ERROR_SUCCESS;
        {
            // Another program may have upgraded the file while this one waited.
            SqliteStatement layout(db, "PRAGMA user_version");
            upgrade = layout.Step() && layout.ColumnInt(0) < kHiveLayout;
            status = layout.status();
        }
        upgraded = status == ERROR_SUCCESS && upgrade;
        return upgraded ? MoveValuesIntoKeys(db) : status;
    });
    // The rows of the old table are free pages now, about a third of the
    // file: given back once. The file is upgraded whether or not this can
    // be done (say, while another program reads it).
    if (result == ERROR_SUCCESS && upgraded && !opened.inMemoryCopy)
        (void)ExecuteSql(db, "VACUUM");
    return result;
}

// Whether the open file holds the tables, upgraded to the current layout.
[[nodiscard]] Status DetectLayout(OpenedHive& opened) {
    bool found = false;
    std::int64_t layout = 0;
    {
        SqliteStatement query(opened.db,
                              "SELECT (SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'keys'), "
                              "user_version FROM pragma_user_version");
        if (query.Step()) {
            found = query.ColumnInt(0) > 0;
            layout = query.ColumnInt(1);
        }
        if (query.status() != ERROR_SUCCESS)
            return query.status();
    }
    if (found && layout > kHiveLayout)
        return ERROR_BADDB;  // written by a later version of this program
    if (found && layout < kHiveLayout) {
        if (Status status = UpgradeLayout(opened); status != ERROR_SUCCESS)
            return status;
    }
    opened.hasTables = found;
    return ERROR_SUCCESS;
}

// One key's values as read from a layout-1 row each.
class StoredRun {
public:
    void Add(std::string_view name, std::string_view fold, std::uint32_t type, std::string_view data) {
        rows_.push_back({std::string(name), std::string(fold), type, std::string(data)});
    }

    // Moves the run into the key's row and starts afresh.
    [[nodiscard]] Status StoreInto(sqlite3* db, std::int64_t key) {
        for (const Row& row : rows_)
            packer_.Add(row.name, row.fold, row.type, row.data);
        packer_.Pack(packed_);
        rows_.clear();
        SqliteStatement update(db, "UPDATE keys SET vals = ? WHERE id = ?");
        return update.BindBlob(1, packed_.data(), packed_.size()).Bind(2, key).Run();
    }

    bool empty() const { return rows_.empty(); }

private:
    struct Row {
        std::string name;
        std::string fold;
        std::uint32_t type;
        std::string data;
    };

    std::vector<Row> rows_;
    ValuePacker packer_;
    std::string packed_;
};

}  // namespace

Status OpenHiveFile(const std::string& path, int busyTimeoutMs, OpenedHive& opened) {
    opened = {};
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? ERROR_SUCCESS : StatusFromErrno(errno);
    if (Status status = OpenConnection(path.c_str(), SQLITE_OPEN_READWRITE, busyTimeoutMs, opened.db);
        status != ERROR_SUCCESS)
        return status;
    if (Status status = DetectLayout(opened); status != ERROR_SUCCESS) {
        sqlite3_close_v2(opened.db);
        opened = {};
        return status;
    }
    return ERROR_SUCCESS;
}

Status CreateHiveFile(const std::string& path, unsigned directoryMode, unsigned fileMode, int busyTimeoutMs,
                      sqlite3*& db) {
    if (Status status = CreateParentDirectories(path, directoryMode); status != ERROR_SUCCESS)
        return status;
    if (Status status = CreateFileWithMode(path, fileMode); status != ERROR_SUCCESS)
        return status;
    return OpenConnection(path.c_str(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, busyTimeoutMs, db);
}

Status CreateHiveTables(sqlite3* db) {
    return InOwnTransaction(db, [db] { return ExecuteSql(db, kHiveSchema); });
}

Status MoveValuesIntoKeys(sqlite3* db) {
    if (Status status = ExecuteSql(db, "ALTER TABLE keys ADD COLUMN vals BLOB NOT NULL DEFAULT x''");
        status != ERROR_SUCCESS)
        return status;
    {
        // Each key's values are one run in the table's (key, fold) order;
        // an update of a key that is gone changes nothing.
        SqliteStatement values(db, "SELECT key, name, fold, type, data FROM vals ORDER BY key, fold");
        StoredRun run;
        std::int64_t key = 0;
        while (values.Step()) {
            if (values.ColumnInt(0) != key && !run.empty()) {
                if (Status status = run.StoreInto(db, key); status != ERROR_SUCCESS)
                    return status;
            }
            key = values.ColumnInt(0);
            run.Add(values.ColumnView(1), values.ColumnView(2), static_cast<std::uint32_t>(values.ColumnInt(3)),
                    values.ColumnView(4));
        }
        if (values.status() != ERROR_SUCCESS)
            return values.status();
        if (!run.empty()) {
            if (Status status = run.StoreInto(db, key); status != ERROR_SUCCESS)
                return status;
        }
    }
    return ExecuteSql(db, "DROP TABLE vals; PRAGMA user_version = 2;");
}

}  // namespace vn
