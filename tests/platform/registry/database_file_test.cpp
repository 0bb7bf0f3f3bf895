// The database file itself: ours or refused untouched, created only by a write, marked as ours.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "platform/registry/registry_database.h"
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
TEST_F(DatabaseFileTest, EmptyFileBecomesADatabaseWithItsMarksAndTheRollbackJournal) {
    WriteFileBytes(DatabasePath(), {});
    EXPECT_EQ(Dump("SYSTEM"), "<cannot open SYSTEM: 2>");
    EXPECT_TRUE(ReadFileBytes(DatabasePath()).empty());
    Build("SYSTEM\n  V = dword:1\n");
    EXPECT_EQ(Dump("SYSTEM"), "  V = dword:0x1\n");
    CloseRegistryDatabase();
    const std::vector<std::uint8_t> header = ReadFileBytes(DatabasePath());
    ASSERT_GE(header.size(), 100U);
    EXPECT_EQ(header[18], 1);  // 2 would be write-ahead logging
    EXPECT_EQ(std::string(header.begin() + 60, header.begin() + 64),
              std::string("\0\0\0\2", 4));                                     // layout version
    EXPECT_EQ(std::string(header.begin() + 68, header.begin() + 72), "ZOVR");  // application id
    EXPECT_FALSE(Exists(DatabasePath() + "-wal"));
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

}  // namespace
}  // namespace zov::test
