#include <gtest/gtest.h>

#include <sqlite3.h>

#include "platform/local/hive/SqliteStatement.h"
#include "platform/local/hive/SqliteStatementCache.h"

namespace vn {
namespace {

class SqliteStatementCacheTest : public ::testing::Test {
protected:
    SqliteStatementCacheTest() { sqlite3_open(":memory:", &db_); }
    ~SqliteStatementCacheTest() override {
        cache_.Clear();
        sqlite3_close(db_);
    }
    sqlite3* db_ = nullptr;
    SqliteStatementCache cache_;
};

TEST_F(SqliteStatementCacheTest, AStatementIsReusedWithFreshBindings) {
    constexpr const char* kSql = "SELECT ?1 + 1";
    {
        SqliteStatement first(cache_, db_, kSql);
        ASSERT_TRUE(first.Bind(1, 41).Step());
        EXPECT_EQ(first.ColumnInt(0), 42);
    }
    SqliteStatement again(cache_, db_, kSql);
    ASSERT_TRUE(again.Step());
    EXPECT_TRUE(again.ColumnIsNull(0));  // the earlier binding is gone
    EXPECT_EQ(again.status(), ERROR_SUCCESS);
}

TEST_F(SqliteStatementCacheTest, AStatementInUseIsNotHandedOutTwice) {
    constexpr const char* kSql = "SELECT ?1";
    SqliteStatement outer(cache_, db_, kSql);
    outer.Bind(1, 1);
    {
        SqliteStatement inner(cache_, db_, kSql);
        ASSERT_TRUE(inner.Bind(1, 2).Step());
        EXPECT_EQ(inner.ColumnInt(0), 2);
    }
    ASSERT_TRUE(outer.Step());
    EXPECT_EQ(outer.ColumnInt(0), 1);
}

TEST_F(SqliteStatementCacheTest, SqlThatDoesNotPrepareFailsTheStatementEveryTime) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        SqliteStatement broken(cache_, db_, "SELEKT 1");
        EXPECT_FALSE(broken.Step());
        EXPECT_NE(broken.status(), ERROR_SUCCESS);
    }
}

}  // namespace
}  // namespace vn
