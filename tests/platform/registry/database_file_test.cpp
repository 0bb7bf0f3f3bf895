// The database file itself: ours or refused untouched, created only by a write, marked as ours.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include "platform/registry/registry_database.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

class DatabaseFileTest : public RegistryTest {
  protected:
    // Runs sql on the database file directly, as another program would.
    void RunSql(const std::string& path, const char* sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        sqlite3_close(db);
    }

    std::int64_t Pragma(const char* name) {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
                  SQLITE_OK);
        sqlite3_stmt* statement = nullptr;
        const std::string sql = std::string("PRAGMA ") + name;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK);
        EXPECT_EQ(sqlite3_step(statement), SQLITE_ROW);
        const std::int64_t value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return value;
    }

    // Every kind of call is refused with ERROR_BADDB and a diagnostic that names the file.
    void ExpectRefused(const char* reason) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM", 0, KEY_READ, &key), ERROR_BADDB);
        EXPECT_THAT(ZovRegistryDiagnostic(),
                    AllOf(HasSubstr(DatabasePath()), HasSubstr(reason), HasSubstr("untouched")));
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_BADDB);
        const DWORD value = 1;
        EXPECT_EQ(RegSetValueExA(HKEY_LOCAL_MACHINE, "V", 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&value), sizeof value),
                  ERROR_BADDB);
        {
            RegistryTransaction transaction;
            EXPECT_EQ(transaction.Status(), ERROR_BADDB);
        }
        EXPECT_FALSE(Exists(DatabasePath() + "-journal"));
    }
};

TEST_F(DatabaseFileTest, ForeignSqliteDatabaseIsRefusedAndLeftByteForByte) {
    RunSql(DatabasePath(), "CREATE TABLE songs(title TEXT); INSERT INTO songs VALUES('x');");
    const std::vector<std::uint8_t> before = ReadFileBytes(DatabasePath());
    ExpectRefused("foreign SQLite database");
    EXPECT_EQ(ReadFileBytes(DatabasePath()), before);
}

TEST_F(DatabaseFileTest, FileThatIsNotSqliteIsRefusedAndLeftByteForByte) {
    std::vector<std::uint8_t> text(300, 'z');
    WriteFileBytes(DatabasePath(), text);
    ExpectRefused("not an SQLite database");
    EXPECT_EQ(ReadFileBytes(DatabasePath()), text);
    WriteFileBytes(DatabasePath(), {'S', 'Q', 'L'});
    ExpectRefused("not an SQLite database");
    EXPECT_EQ(ReadFileBytes(DatabasePath()), (std::vector<std::uint8_t>{'S', 'Q', 'L'}));
}

TEST_F(DatabaseFileTest, DamagedRegistryIsRefusedAndLeftByteForByte) {
    Build("SYSTEM\\Card1\n  ZOVIrq = dword:5\n");
    CloseRegistryDatabase();
    std::vector<std::uint8_t> bytes = ReadFileBytes(DatabasePath());
    const std::size_t page = static_cast<std::size_t>(Pragma("page_size"));
    ASSERT_GT(bytes.size(), page);
    for (std::size_t i = page; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(0xA5 ^ i);
    }
    WriteFileBytes(DatabasePath(), bytes);
    ExpectRefused("damaged");
    EXPECT_EQ(ReadFileBytes(DatabasePath()), bytes);
}

TEST_F(DatabaseFileTest, NewerLayoutVersionIsRefused) {
    Build("SYSTEM\n");
    CloseRegistryDatabase();
    RunSql(DatabasePath(), "PRAGMA user_version = 7");
    const std::vector<std::uint8_t> before = ReadFileBytes(DatabasePath());
    ExpectRefused("newer");
    EXPECT_EQ(ReadFileBytes(DatabasePath()), before);
}

TEST_F(DatabaseFileTest, ReadsOfAMissingRegistryCreateNothing) {
    CloseRegistryDatabase();
    const std::string nested = PathInDir("a/b/registry.db");
    setenv("ZOVCFG_REGISTRY", nested.c_str(), 1);
    EXPECT_EQ(RegistryDatabasePath(), nested);
    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "", 0, KEY_READ, &root), ERROR_SUCCESS);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(root, "SYSTEM", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(root, "V", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    {
        RegistryTransaction transaction;
        EXPECT_EQ(transaction.Status(), ERROR_SUCCESS);
    }
    EXPECT_FALSE(Exists(PathInDir("a")));

    // The first write creates the directories (0755) and the file.
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    struct stat info {};
    ASSERT_EQ(stat(PathInDir("a/b").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755U);
    EXPECT_TRUE(Exists(nested));
    // The root handle opened before the file existed still works.
    EXPECT_EQ(RegOpenKeyExA(root, "SYSTEM", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    RegCloseKey(root);
}

TEST_F(DatabaseFileTest, EmptyFileReadsAsEmptyAndIsLaidOutByTheFirstWrite) {
    WriteFileBytes(DatabasePath(), {});
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(ReadFileBytes(DatabasePath()).empty());
    Build("SYSTEM\n  V = dword:1\n");
    EXPECT_EQ(Dump("SYSTEM"), "  V = dword:0x1\n");
}

TEST_F(DatabaseFileTest, DatabaseCarriesItsMarksAndUsesTheRollbackJournal) {
    Build("SYSTEM\n");
    CloseRegistryDatabase();
    EXPECT_EQ(Pragma("application_id"), 0x5A4F5652);
    EXPECT_EQ(Pragma("user_version"), 1);
    const std::vector<std::uint8_t> header = ReadFileBytes(DatabasePath());
    ASSERT_GE(header.size(), 20U);
    EXPECT_EQ(header[18], 1);  // 2 would be write-ahead logging
    EXPECT_FALSE(Exists(DatabasePath() + "-wal"));
}

TEST_F(DatabaseFileTest, PathComesFromTheEnvironmentOrTheDefault) {
    EXPECT_EQ(RegistryDatabasePath(), DatabasePath());
    unsetenv("ZOVCFG_REGISTRY");
    CloseRegistryDatabase();
    EXPECT_EQ(RegistryDatabasePath(), "/var/lib/zovcfg/registry.db");
    setenv("ZOVCFG_REGISTRY", DatabasePath().c_str(), 1);
    // The path is kept until the connection is closed.
    EXPECT_EQ(RegistryDatabasePath(), "/var/lib/zovcfg/registry.db");
    CloseRegistryDatabase();
    EXPECT_EQ(RegistryDatabasePath(), DatabasePath());
}

TEST_F(DatabaseFileTest, HandlesFromBeforeASwitchOfDatabaseAreStale) {
    Build("SYSTEM\n  V = dword:1\n");
    HKEY system = Open("SYSTEM");
    CloseRegistryDatabase();
    setenv("ZOVCFG_REGISTRY", PathInDir("other.db").c_str(), 1);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(system, "V", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(system), ERROR_SUCCESS);
}

}  // namespace
}  // namespace zov::test
