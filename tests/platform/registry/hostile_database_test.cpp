// A database file made to attack whoever reads it: planted triggers and views, extra tables, a
// value larger than any the registry allows, a statement that never ends, a link in its place.
// Each is refused with a message, runs nothing and leaves the file as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <string>
#include <utility>

#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_database.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

using ::testing::HasSubstr;

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

}  // namespace
}  // namespace zov::test
