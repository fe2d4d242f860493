#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace vn {

// The prepared statements of one connection, kept for reuse: parsing SQL
// costs far more than running the small statements a hive runs. Not
// thread-safe: the owner serialises use as it does for the connection.
class SqliteStatementCache {
public:
    SqliteStatementCache() = default;
    ~SqliteStatementCache();
    SqliteStatementCache(const SqliteStatementCache&) = delete;
    SqliteStatementCache& operator=(const SqliteStatementCache&) = delete;

    // The statement for sql on db, prepared on first use; null with the
    // SQLite result code in resultCode when it cannot be prepared. A
    // statement already handed out and not yet given back is prepared anew
    // and not cached (cached is then false): the caller finalizes it.
    sqlite3_stmt* Acquire(sqlite3* db, std::string_view sql, bool& cached, int& resultCode);

    // Takes back a cached statement: reset, bindings cleared.
    void Release(sqlite3_stmt* statement);

    // Finalizes every statement; must run before the connection closes.
    void Clear();

private:
    struct Entry {
        sqlite3_stmt* statement = nullptr;
        bool inUse = false;
    };
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };

    std::unordered_map<std::string, Entry, TextHash, std::equal_to<>> entries_;
    std::unordered_map<sqlite3_stmt*, Entry*> byStatement_;
};

}  // namespace vn
