#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

struct sqlite3;

namespace vn {

class SqliteStatementCache;

// Rows for one table, inserted several to a statement: a statement costs
// more than its rows when there are hundreds of thousands of them. Rows land
// in the order they were added. Text and blobs added by view are bound
// without a copy, so what they point to must outlive the next Flush; Owned
// keeps a string of the batch's own until then.
class SqliteRowBatch {
public:
    // insert: the statement up to its VALUES ("INSERT INTO t(a, b) VALUES");
    // tail: what follows the rows (an ON CONFLICT clause, or nothing).
    SqliteRowBatch(sqlite3* db, SqliteStatementCache& statements, std::string insert, int columns,
                   std::string tail = {});

    SqliteRowBatch& Int(std::int64_t value);
    SqliteRowBatch& Text(std::string_view text);
    SqliteRowBatch& Blob(std::string_view bytes);
    // A string the batch keeps until the row has landed.
    std::string_view Owned(std::string text);

    // Ends the row begun by the cells added since the last one; inserts the
    // rows waiting when there are enough for a full statement.
    [[nodiscard]] Status EndRow();
    // Inserts every row waiting.
    [[nodiscard]] Status Flush();

private:
    struct Cell {
        enum class Kind { Int, Text, Blob } kind;
        std::int64_t number = 0;
        std::string_view bytes;
    };

    [[nodiscard]] Status InsertRows(std::size_t firstRow, std::size_t rows);
    const std::string& StatementFor(std::size_t rows);

    sqlite3* db_;
    SqliteStatementCache& statements_;
    const std::string insert_;
    const std::string tail_;
    const std::size_t columns_;
    const std::size_t rowsPerStatement_;  // at most, a power of two
    std::vector<Cell> cells_;
    std::deque<std::string> owned_;    // stable addresses for the views in cells_
    std::vector<std::string> sqlFor_;  // [log2 rows]: the statement for that many rows
};

}  // namespace vn
