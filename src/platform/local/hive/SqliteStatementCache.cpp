#include "platform/local/hive/SqliteStatementCache.h"

#include <sqlite3.h>

namespace vn {

SqliteStatementCache::~SqliteStatementCache() { Clear(); }

sqlite3_stmt* SqliteStatementCache::Acquire(sqlite3* db, std::string_view sql, bool& cached, int& resultCode) {
    auto found = entries_.find(sql);
    cached = found == entries_.end() || !found->second.inUse;
    sqlite3_stmt* statement = nullptr;
    if (cached && found != entries_.end()) {
        found->second.inUse = true;
        resultCode = SQLITE_OK;
        return found->second.statement;
    }
    resultCode = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                                    cached ? SQLITE_PREPARE_PERSISTENT : 0, &statement, nullptr);
    if (resultCode != SQLITE_OK) {
        sqlite3_finalize(statement);
        cached = false;
        return nullptr;
    }
    if (cached) {
        Entry& entry = entries_.emplace(std::string(sql), Entry{statement, true}).first->second;
        byStatement_.emplace(statement, &entry);
    }
    return statement;
}

void SqliteStatementCache::Release(sqlite3_stmt* statement) {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (auto found = byStatement_.find(statement); found != byStatement_.end())
        found->second->inUse = false;
}

void SqliteStatementCache::Clear() {
    for (auto& [sql, entry] : entries_)
        sqlite3_finalize(entry.statement);
    entries_.clear();
    byStatement_.clear();
}

}  // namespace vn
