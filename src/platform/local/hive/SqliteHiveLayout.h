#pragma once

#include "platform/Status.h"

struct sqlite3;

namespace vn {

// The layout of a hive's tables, kept in the file's user_version. Layout 1
// held each value in a row of its own; layout 2 holds a key's values packed
// (ValuePacker) in the key's row.
inline constexpr int kHiveLayout = 2;

// The tables of a new hive, with its root key.
extern const char* const kHiveSchema;

// Moves the values of a layout-1 hive into their keys' rows, inside the
// caller's write transaction. Values whose key is gone belonged to no tree
// and are dropped.
[[nodiscard]] Status MoveValuesIntoKeys(sqlite3* db);

}  // namespace vn
