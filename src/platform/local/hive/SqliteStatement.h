#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vn {

class SqliteStatementCache;

// The Windows code for an SQLite result code of connection db (db may be
// null); file errors are taken from the system error behind them.
[[nodiscard]] Status StatusFromSqlite(sqlite3* db, int resultCode);

// One prepared statement, finalized on destruction, or borrowed from a
// cache and given back to it. Binding indexes start at 1.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    SqliteStatement(SqliteStatementCache& cache, sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& Bind(int index, std::int64_t value);
    SqliteStatement& Bind(int index, std::string_view text);
    SqliteStatement& BindBlob(int index, const void* data, std::size_t size);
    // As Bind and BindBlob without a copy: the bytes must stay unchanged
    // until the statement has run.
    SqliteStatement& BindUncopied(int index, std::string_view text);
    SqliteStatement& BindBlobUncopied(int index, const void* data, std::size_t size);

    // Steps once: true with a row, false when done or failed (see status()).
    bool Step();
    // Steps until done; the status of the run.
    [[nodiscard]] Status Run();

    bool ColumnIsNull(int column) const;
    std::int64_t ColumnInt(int column) const;
    std::string ColumnText(int column) const;
    // The bytes of a text or blob column as they are, valid until the next step.
    std::string_view ColumnView(int column) const;
    std::vector<std::uint8_t> ColumnBlob(int column) const;

    // 0 while every call succeeded, otherwise the first failure's code.
    [[nodiscard]] Status status() const { return status_; }

private:
    void Fail(int resultCode);
    SqliteStatement& BindText(int index, std::string_view text, void (*lifetime)(void*));
    SqliteStatement& BindBytes(int index, const void* data, std::size_t size, void (*lifetime)(void*));

    sqlite3* db_;
    SqliteStatementCache* cache_ = nullptr;  // set while the statement is borrowed
    sqlite3_stmt* statement_ = nullptr;
    Status status_ = ERROR_SUCCESS;
};

// Runs SQL without results (several statements allowed).
[[nodiscard]] Status ExecuteSql(sqlite3* db, const char* sql);

}  // namespace vn
