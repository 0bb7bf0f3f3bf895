// The database file itself: ours or refused untouched, created only by a write, marked as ours.
// A file made to attack whoever reads it (planted triggers and views, extra tables, a value
// larger than any the registry allows, a statement that never ends, a link in its place) is
// refused with a message, runs nothing and is left as it was. No statement scans a table.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>

#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_database.h"
#include "platform/registry/registry_queries.h"
#include "platform/registry/registry_schema.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

class DatabaseFileTest : public RegistryTest {
  protected:
    // Every kind of call is refused with ERROR_BADDB and a diagnostic that names the file.
    void ExpectRefused(const char* reason) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM", 0, KEY_READ, &key), ERROR_BADDB);
        EXPECT_THAT(ZovRegistryDiagnostic(),
                    AllOf(HasSubstr(DatabasePath()), HasSubstr(reason), HasSubstr("untouched")));
        EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, "SYSTEM", &key), ERROR_BADDB);
        EXPECT_EQ(RegDeleteValueA(HKEY_LOCAL_MACHINE, "V"), ERROR_BADDB);
        {
            RegistryTransaction transaction;
            EXPECT_EQ(transaction.Status(), ERROR_BADDB);
        }
        EXPECT_FALSE(Exists(DatabasePath() + "-journal"));
    }
};

TEST_F(DatabaseFileTest, ForeignDamagedOrNewerDatabaseIsRefusedAndLeftByteForByte) {
    using Bytes = std::vector<std::uint8_t>;
    const std::vector<std::pair<const char*, std::function<void(Bytes*)>>> rows = {
        {"foreign SQLite database", [](Bytes* b) { std::fill_n(b->begin() + 68, 4, 0); }},
        {"not an SQLite database", [](Bytes* b) { b->assign(300, 'z'); }},
        {"not an SQLite database",
         [](Bytes* b) {
             *b = {'S', 'Q', 'L'};
         }},
        {"newer", [](Bytes* b) { (*b)[63] = 7; }},  // the low byte of the layout version
        {"damaged", [](Bytes* b) {
             for (std::size_t i = (std::size_t{(*b)[16]} << 8) | (*b)[17]; i < b->size(); ++i) {
                 (*b)[i] = static_cast<std::uint8_t>(0xA5 ^ i);  // every page after the first
             }
         }}};
    for (const auto& [reason, edit] : rows) {
        SCOPED_TRACE(reason);
        Build("SYSTEM\\Card1\n  ZOVIrq = dword:5\n");
        CloseRegistryDatabase();
        Bytes bytes = ReadFileBytes(DatabasePath());
        edit(&bytes);
        WriteFileBytes(DatabasePath(), bytes);
        ExpectRefused(reason);
        EXPECT_EQ(ReadFileBytes(DatabasePath()), bytes);
        CloseRegistryDatabase();
        ASSERT_EQ(unlink(DatabasePath().c_str()), 0);
    }
}

TEST_F(DatabaseFileTest, ReadsAndEmptyTransactionsOfAMissingRegistryCreateNothing) {
    CloseRegistryDatabase();
    const std::string nested = PathInDir("a/b/registry.db");
    setenv("ZOVCFG_REGISTRY", nested.c_str(), 1);
    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "", 0, KEY_READ, &root), ERROR_SUCCESS);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(root, "SYSTEM", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(QueryStatus(root, "V"), ERROR_FILE_NOT_FOUND);
    std::string name(16, '\0');
    DWORD size = 16;
    EXPECT_EQ(RegEnumKeyExA(root, 0, name.data(), &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SYSTEM"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(HKEY_LOCAL_MACHINE, "V"), ERROR_FILE_NOT_FOUND);
    {
        RegistryTransaction nothing_written;
        EXPECT_EQ(nothing_written.Status(), ERROR_SUCCESS);
        EXPECT_EQ(nothing_written.Commit(), ERROR_SUCCESS);
    }
    EXPECT_FALSE(Exists(PathInDir("a")));

    // The first write creates the directories and the file (their modes: permission_model_test).
    ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, "SYSTEM", &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_TRUE(Exists(nested));
    // The root handle opened before the file existed still works.
    EXPECT_EQ(RegOpenKeyExA(root, "SYSTEM", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    RegCloseKey(root);
}

// An empty file reads as an empty registry and is laid out by the first write.
// (A file laid out without its application id or in write-ahead-log mode is refused when opened
// again, which fails every test that reopens the registry: tests/cli, tests/store, tests/ui.)
TEST_F(DatabaseFileTest, EmptyFileReadsAsEmptyAndTheFirstWriteLaysItOutWithItsVersion) {
    WriteFileBytes(DatabasePath(), {});
    EXPECT_EQ(Dump("SYSTEM"), "<cannot open SYSTEM: 2>");
    EXPECT_TRUE(ReadFileBytes(DatabasePath()).empty());
    Build("SYSTEM\n  V = dword:1\n");
    EXPECT_EQ(Dump("SYSTEM"), "  V = dword:0x1\n");
    CloseRegistryDatabase();
    const std::vector<std::uint8_t> header = ReadFileBytes(DatabasePath());
    ASSERT_GE(header.size(), 100U);
    EXPECT_EQ(std::string(header.begin() + 60, header.begin() + 64),
              std::string("\0\0\0\2", 4));  // layout version
}

TEST_F(DatabaseFileTest, PathIsKeptUntilCloseAndHandlesFromBeforeASwitchAreStale) {
    Build("SYSTEM\n  V = dword:1\n");
    HKEY system = Open("SYSTEM");
    unsetenv("ZOVCFG_REGISTRY");
    EXPECT_EQ(RegistryDatabasePath(), DatabasePath());
    CloseRegistryDatabase();
    EXPECT_EQ(RegistryDatabasePath(), "/var/lib/zovcfg/registry.db");
    setenv("ZOVCFG_REGISTRY", PathInDir("other.db").c_str(), 1);
    CloseRegistryDatabase();
    EXPECT_EQ(QueryStatus(system, "V"), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(system), ERROR_SUCCESS);
}

class HostileDatabaseTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        Build("P\\Card1\n  ZOVIrq = dword:5\n");
        CloseRegistryDatabase();
    }

    // Changes the database behind the registry's back, as an attacker's own SQLite would.
    void Plant(const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(DatabasePath().c_str(), &db), SQLITE_OK);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
            << (error != nullptr ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
    }
};

TEST_F(HostileDatabaseTest, AnythingBesidesTheRegistrysOwnLayoutIsRefusedAndRunsNothing) {
    const struct {
        const char* name;
        const char* sql;
        const char* diagnostic;
    } kPlanted[] = {
        {"trigger",
         "CREATE TRIGGER planted AFTER INSERT ON registry_values BEGIN"
         " UPDATE registry_values SET data = x'ff'; END;",
         "trigger planted is not of this program"},
        {"endless view in place of a table",
         "ALTER TABLE registry_values RENAME TO kept;"
         "CREATE VIEW registry_values AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL"
         " SELECT i + 1 FROM n) SELECT i AS key, x'' AS folded, x'' AS name, i AS position,"
         " 4 AS type, x'' AS data FROM n;",
         "layout is not this program's"},
        {"extra table", "CREATE TABLE extra(x);", "table extra is not of this program"},
        {"index on other columns",
         "DROP INDEX registry_values_by_position;"
         "CREATE INDEX registry_values_by_position ON registry_values(position);",
         "index registry_values_by_position is not of this program"},
    };
    const std::vector<std::uint8_t> pristine = ReadFileBytes(DatabasePath());
    for (const auto& planted : kPlanted) {
        SCOPED_TRACE(planted.name);
        WriteFileBytes(DatabasePath(), pristine);
        Plant(planted.sql);
        const std::vector<std::uint8_t> before = ReadFileBytes(DatabasePath());
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "P", 0, KEY_READ, &key), ERROR_BADDB);
        EXPECT_THAT(ZovRegistryDiagnostic(), HasSubstr(planted.diagnostic));
        EXPECT_EQ(SetDword("P\\Card1", "ZOVIrq", 7), ERROR_BADDB);
        CloseRegistryDatabase();
        EXPECT_EQ(ReadFileBytes(DatabasePath()), before);
    }
}

TEST_F(HostileDatabaseTest, ValueOverTheRegistrysLimitIsRefusedNotLoaded) {
    Plant("UPDATE registry_values SET data = zeroblob(20 * 1024 * 1024);");
    HKEY key = Open("P\\Card1", KEY_READ);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "ZOVIrq", nullptr, nullptr, nullptr, &size), ERROR_BADDB);
    EXPECT_THAT(ZovRegistryDiagnostic(), HasSubstr("larger than a registry value may be"));
    RegCloseKey(key);
}

TEST_F(HostileDatabaseTest, ConnectionIsHardenedAndNoStatementRunsWithoutEnd) {
    auto& connection = RegistryConnection::Instance();
    std::lock_guard lock(connection.Mutex());
    sqlite3* db = nullptr;
    ASSERT_EQ(connection.Acquire(false, &db), ERROR_SUCCESS);
    ASSERT_NE(db, nullptr);
    for (const auto& [option, wanted] : {std::pair{SQLITE_DBCONFIG_ENABLE_TRIGGER, 0},
                                         {SQLITE_DBCONFIG_ENABLE_VIEW, 0},
                                         {SQLITE_DBCONFIG_DEFENSIVE, 1},
                                         {SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0}}) {
        int now = -1;
        EXPECT_EQ(sqlite3_db_config(db, option, -1, &now), SQLITE_OK);
        EXPECT_EQ(now, wanted) << "option " << option;
    }
    EXPECT_LE(sqlite3_limit(db, SQLITE_LIMIT_LENGTH, -1), 32 << 20);
    EXPECT_EQ(sqlite3_exec(db,
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n)"
                           " SELECT count(*) FROM n",
                           nullptr, nullptr, nullptr),
              SQLITE_INTERRUPT);
    // The bound is per statement: the next one runs as usual.
    EXPECT_EQ(sqlite3_exec(db, "SELECT count(*) FROM registry_keys", nullptr, nullptr, nullptr),
              SQLITE_OK);
}

TEST_F(HostileDatabaseTest, LinkInPlaceOfTheDatabaseIsNotFollowed) {
    const std::string link = PathInDir("link.db");
    ASSERT_EQ(symlink(DatabasePath().c_str(), link.c_str()), 0);
    setenv("ZOVCFG_REGISTRY", link.c_str(), 1);
    CloseRegistryDatabase();
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "P", 0, KEY_READ, &key), ERROR_BADDB);
    EXPECT_THAT(ZovRegistryDiagnostic(), HasSubstr("symbolic link"));
}

// Every statement on the registry tables is answered through an index: no call walks a table,
// so lookups stay fast however many unrelated keys the database holds.
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
}  // namespace zov::test
