#include "platform/local/hive/SqliteHiveLayout.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
