#include "platform/local/hive/SqliteStatement.h"

#include <sqlite3.h>

#include "platform/local/ErrnoStatus.h"
#include "platform/local/LocalStatusCodes.h"
#include "platform/local/hive/SqliteStatementCache.h"

namespace vn {

Status StatusFromSqlite(sqlite3* db, int resultCode) {
    switch (resultCode & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return ERROR_SUCCESS;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return ERROR_BUSY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return ERROR_ACCESS_DENIED;
    case SQLITE_NOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_FULL: return ERROR_DISK_FULL;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return ERROR_BADDB;
    case SQLITE_CANTOPEN: {
        const int error = db ? sqlite3_system_errno(db) : 0;
        return error ? StatusFromErrno(error) : ERROR_ACCESS_DENIED;
    }
    default: return ERROR_REGISTRY_IO_FAILED;
    }
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr);
    if (rc != SQLITE_OK)
        Fail(rc);
}

SqliteStatement::SqliteStatement(SqliteStatementCache& cache, sqlite3* db, std::string_view sql) : db_(db) {
    bool cached = false;
    int rc = SQLITE_OK;
    statement_ = cache.Acquire(db, sql, cached, rc);
    if (cached)
        cache_ = &cache;
    if (rc != SQLITE_OK)
        Fail(rc);
}

SqliteStatement::~SqliteStatement() {
    if (cache_)
        cache_->Release(statement_);
    else
        sqlite3_finalize(statement_);
}

void SqliteStatement::Fail(int resultCode) {
    if (status_ == ERROR_SUCCESS)
        status_ = StatusFromSqlite(db_, resultCode);
    if (status_ == ERROR_SUCCESS)
        status_ = ERROR_REGISTRY_IO_FAILED;
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
    if (statement_ && status_ == ERROR_SUCCESS) {
        if (int rc = sqlite3_bind_int64(statement_, index, value); rc != SQLITE_OK)
            Fail(rc);
    }
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
    return BindText(index, text, SQLITE_TRANSIENT);
}

SqliteStatement& SqliteStatement::BindUncopied(int index, std::string_view text) {
    return BindText(index, text, SQLITE_STATIC);
}

SqliteStatement& SqliteStatement::BindBlob(int index, const void* data, std::size_t size) {
    return BindBytes(index, data, size, SQLITE_TRANSIENT);
}

SqliteStatement& SqliteStatement::BindBlobUncopied(int index, const void* data, std::size_t size) {
    return BindBytes(index, data, size, SQLITE_STATIC);
}

SqliteStatement& SqliteStatement::BindText(int index, std::string_view text, void (*lifetime)(void*)) {
    // A null pointer would bind NULL, not an empty text.
    const char* data = text.data() != nullptr ? text.data() : "";
    if (statement_ && status_ == ERROR_SUCCESS) {
        if (int rc = sqlite3_bind_text64(statement_, index, data, text.size(), lifetime, SQLITE_UTF8); rc != SQLITE_OK)
            Fail(rc);
    }
    return *this;
}

SqliteStatement& SqliteStatement::BindBytes(int index, const void* data, std::size_t size, void (*lifetime)(void*)) {
    // A zero-length blob must still be a blob, not NULL: bind an empty one.
    if (statement_ && status_ == ERROR_SUCCESS) {
        const int rc = size == 0 ? sqlite3_bind_zeroblob(statement_, index, 0)
                                 : sqlite3_bind_blob64(statement_, index, data, size, lifetime);
        if (rc != SQLITE_OK)
            Fail(rc);
    }
    return *this;
}

bool SqliteStatement::Step() {
    if (!statement_ || status_ != ERROR_SUCCESS)
        return false;
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        Fail(rc);
    return false;
}

Status SqliteStatement::Run() {
    while (Step()) {
    }
    return status_;
}

bool SqliteStatement::ColumnIsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

std::int64_t SqliteStatement::ColumnInt(int column) const { return sqlite3_column_int64(statement_, column); }

std::string SqliteStatement::ColumnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))) : std::string();
}

std::string_view SqliteStatement::ColumnView(int column) const {
    // The blob form leaves text in the database's own encoding (UTF-8).
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, column));
    return data ? std::string_view(data, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                : std::string_view();
}

std::vector<std::uint8_t> SqliteStatement::ColumnBlob(int column) const {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_, column));
    return data ? std::vector<std::uint8_t>(data, data + size) : std::vector<std::uint8_t>();
}

Status ExecuteSql(sqlite3* db, const char* sql) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? ERROR_SUCCESS : StatusFromSqlite(db, rc);
}

}  // namespace vn
