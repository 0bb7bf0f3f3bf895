// Every statement on the registry tables is answered through an index: no call walks a table,
// so lookups stay fast however many unrelated keys the database holds.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "platform/registry/registry_queries.h"
#include "platform/registry/registry_schema.h"

namespace zov {
namespace {

// The plan lines that SQLite reports for sql on a database with the registry's layout.
std::vector<std::string> PlanOf(sqlite3* db, const char* sql) {
    std::vector<std::string> lines;
    sqlite3_stmt* statement = nullptr;
    const std::string explain = std::string("EXPLAIN QUERY PLAN ") + sql;
    EXPECT_EQ(sqlite3_prepare_v2(db, explain.c_str(), -1, &statement, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db) << "\n"
        << sql;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
        lines.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 3)));
    }
    sqlite3_finalize(statement);
    return lines;
}

TEST(RegistryQueriesTest, NoStatementScansATable) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, kRegistrySchemaSql, nullptr, nullptr, nullptr), SQLITE_OK);
    for (const char* sql : queries::kAllQueries) {
        for (const std::string& line : PlanOf(db, sql)) {
            // Scanning the recursive walk's own queue is fine; scanning a table is not.
            const bool scans_table =
                line.rfind("SCAN registry_", 0) == 0 || line.rfind("SCAN k", 0) == 0;
            EXPECT_FALSE(scans_table) << line << "\n in: " << sql;
            EXPECT_EQ(line.find("TEMP B-TREE"), std::string::npos) << line << "\n in: " << sql;
        }
    }
    sqlite3_close(db);
}

}  // namespace
}  // namespace zov
