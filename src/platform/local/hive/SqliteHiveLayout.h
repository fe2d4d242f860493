#pragma once

#include <string>

#include "platform/Status.h"

struct sqlite3;

namespace vn {

// The layout of a hive's tables, kept in the file's user_version. Layout 1
// held each value in a row of its own; layout 2 holds a key's values packed
// (ValuePacker) in the key's row.
inline constexpr int kHiveLayout = 2;

// The tables of a new hive, with its root key.
extern const char* const kHiveSchema;

// What opening a hive's file found.
struct OpenedHive {
    sqlite3* db = nullptr;      // null when there is no file
    bool hasTables = false;     // the file holds the hive's tables
    bool inMemoryCopy = false;  // db is an upgraded copy in memory of a file that cannot be written
};

// Opens the hive's file when there is one, read-write when the file allows
// it, read-only otherwise, and brings an older layout up to date. A file
// this program may not write is upgraded in a copy in memory, which then
// stands for it. A file of a later layout is ERROR_BADDB. On failure
// nothing stays open.
[[nodiscard]] Status OpenHiveFile(const std::string& path, int busyTimeoutMs, OpenedHive& opened);

// Creates the file and its missing directories with the given permissions
// (SQLite would make the file readable by all) and opens it; db stays null
// on failure.
[[nodiscard]] Status CreateHiveFile(const std::string& path, unsigned directoryMode, unsigned fileMode,
                                    int busyTimeoutMs, sqlite3*& db);

// Creates the tables of a new hive (kHiveSchema) in a transaction of their own.
[[nodiscard]] Status CreateHiveTables(sqlite3* db);

// Moves the values of a layout-1 hive into their keys' rows, inside the
// caller's write transaction. Values whose key is gone belonged to no tree
// and are dropped.
[[nodiscard]] Status MoveValuesIntoKeys(sqlite3* db);

}  // namespace vn
