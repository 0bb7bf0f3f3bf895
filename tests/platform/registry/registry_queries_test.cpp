// Every statement on the registry tables is answered through an index: no call walks a table,
// so lookups stay fast however many unrelated keys the database holds.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "platform/registry/registry_queries.h"
#include "platform/registry/registry_schema.h"

namespace zov {
namespace {

TEST(RegistryQueriesTest, NoStatementScansATable) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, kRegistrySchemaSql, nullptr, nullptr, nullptr), SQLITE_OK);
    for (const char* sql : queries::kAllQueries) {
        sqlite3_stmt* plan = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db, (std::string("EXPLAIN QUERY PLAN ") + sql).c_str(), -1,
                                     &plan, nullptr),
                  SQLITE_OK)
            << sqlite3_errmsg(db) << "\n in: " << sql;
        while (sqlite3_step(plan) == SQLITE_ROW) {
            const std::string line = reinterpret_cast<const char*>(sqlite3_column_text(plan, 3));
            // Scanning the recursive walk's own queue is fine; scanning a table is not.
            EXPECT_NE(line.rfind("SCAN registry_", 0), 0U) << line << "\n in: " << sql;
            EXPECT_NE(line.rfind("SCAN k", 0), 0U) << line << "\n in: " << sql;
            EXPECT_EQ(line.find("TEMP B-TREE"), std::string::npos) << line << "\n in: " << sql;
        }
        sqlite3_finalize(plan);
    }
    sqlite3_close(db);
}

}  // namespace
}  // namespace zov
