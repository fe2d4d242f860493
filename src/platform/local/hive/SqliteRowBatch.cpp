#include "platform/local/hive/SqliteRowBatch.h"

#include <algorithm>
#include <bit>

#include "platform/local/hive/SqliteStatement.h"

namespace vn {
namespace {

// Statements hold a power of two of rows, so that a batch of any size needs
// only a handful of prepared statements; at most 128 rows, and never more
// parameters than the 999 that every SQLite build allows.
constexpr std::size_t kMostRows = 128;
constexpr std::size_t kMostParameters = 999;

}  // namespace

SqliteRowBatch::SqliteRowBatch(sqlite3* db, SqliteStatementCache& statements, std::string insert, int columns,
                               std::string tail)
    : db_(db),
      statements_(statements),
      insert_(std::move(insert)),
      tail_(std::move(tail)),
      columns_(static_cast<std::size_t>(columns)),
      rowsPerStatement_(std::bit_floor(std::min(kMostRows, kMostParameters / columns_))) {}

SqliteRowBatch& SqliteRowBatch::Int(std::int64_t value) {
    cells_.push_back({Cell::Kind::Int, value, {}});
    return *this;
}

SqliteRowBatch& SqliteRowBatch::Text(std::string_view text) {
    cells_.push_back({Cell::Kind::Text, 0, text});
    return *this;
}

SqliteRowBatch& SqliteRowBatch::Blob(std::string_view bytes) {
    cells_.push_back({Cell::Kind::Blob, 0, bytes});
    return *this;
}

std::string_view SqliteRowBatch::Owned(std::string text) { return owned_.emplace_back(std::move(text)); }

Status SqliteRowBatch::EndRow() { return cells_.size() >= rowsPerStatement_ * columns_ ? Flush() : ERROR_SUCCESS; }

Status SqliteRowBatch::Flush() {
    const std::size_t rows = cells_.size() / columns_;
    Status status = ERROR_SUCCESS;
    for (std::size_t first = 0; first < rows && status == ERROR_SUCCESS;) {
        const std::size_t count = std::bit_floor(std::min(rowsPerStatement_, rows - first));
        status = InsertRows(first, count);
        first += count;
    }
    cells_.clear();
    owned_.clear();
    return status;
}

Status SqliteRowBatch::InsertRows(std::size_t firstRow, std::size_t rows) {
    SqliteStatement statement(statements_, db_, StatementFor(rows));
    const std::size_t firstCell = firstRow * columns_;
    for (std::size_t i = 0; i < rows * columns_; ++i) {
        const Cell& cell = cells_[firstCell + i];
        const int parameter = static_cast<int>(i) + 1;
        switch (cell.kind) {
        case Cell::Kind::Int: statement.Bind(parameter, cell.number); break;
        case Cell::Kind::Text: statement.BindUncopied(parameter, cell.bytes); break;
        case Cell::Kind::Blob: statement.BindBlobUncopied(parameter, cell.bytes.data(), cell.bytes.size()); break;
        }
    }
    return statement.Run();
}

const std::string& SqliteRowBatch::StatementFor(std::size_t rows) {
    const auto power = static_cast<std::size_t>(std::countr_zero(rows));
    if (sqlFor_.size() <= power)
        sqlFor_.resize(power + 1);
    std::string& sql = sqlFor_[power];
    if (sql.empty()) {
        std::string row = "(?";
        for (std::size_t column = 1; column < columns_; ++column)
            row += ", ?";
        row += ')';
        sql = insert_;
        for (std::size_t i = 0; i < rows; ++i) {
            sql += i == 0 ? " " : ", ";
            sql += row;
        }
        if (!tail_.empty()) {
            sql += ' ';
            sql += tail_;
        }
    }
    return sql;
}

}  // namespace vn
