// The name rules: Windows' simple upper-case mapping for every script, limits in UTF-16 code
// units, and the upgrade of a registry whose folded names follow the older ASCII-only rule.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "platform/registry/key_name.h"
#include "platform/registry/registry_database.h"
#include "platform/registry/registry_schema.h"
#include "registry_test_support.h"

namespace zov::test {
namespace {

TEST(NameRulesFolding, UpperCasesEveryScriptOneCharacterForOne) {
    const struct {
        const char* name;
        const char* folded;
    } rows[] = {
        {"caf\xC3\xA9 a_z", "CAF\xC3\x89 A_Z"},  // Latin: é
        {"stra\xC3\x9F"
         "e",
         "STRA\xC3\x9F"
         "E"},                                                     // ß has no one-letter capital
        {"\xCF\x83\xCF\x82\xCE\xB1", "\xCE\xA3\xCE\xA3\xCE\x91"},  // Greek σςα
        {"\xD0\xBF\xD1\x80\xD0\xB8", "\xD0\x9F\xD0\xA0\xD0\x98"},  // Cyrillic при
        {"\xE4\xB8\xAD\xE6\x96\x87", "\xE4\xB8\xAD\xE6\x96\x87"},  // CJK stays
        {"\xF0\x90\x90\xA8", "\xF0\x90\x90\xA8"},                  // beyond the BMP stays
        {"bad\xE9", "BAD\xE9"},                                    // not UTF-8: bytes stay
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FoldName(row.name), row.folded) << row.name;
    }
    EXPECT_TRUE(SameName("\xC3\x84pfel", "\xC3\xA4PFEL"));
    EXPECT_FALSE(SameName("a", "\xC3\xA0"));
}

TEST(NameRulesLength, CountsUtf16CodeUnits) {
    EXPECT_EQ(NameLength("abc"), 3U);
    EXPECT_EQ(NameLength("\xE4\xB8\xAD\xE6\x96\x87"), 2U);
    EXPECT_EQ(NameLength("\xF0\x9F\x98\x80"), 2U);  // a surrogate pair
    EXPECT_EQ(NameLength("\xE9\xFF"), 2U);          // one per stray byte
}

// Turns the test's registry back into what the previous version made: version 1, and the
// folded names of keys and values by its ASCII-only rule.
void MakeVersionOne(const std::string& path, const char* extra_sql) {
    CloseRegistryDatabase();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const std::string sql = std::string(
                                "UPDATE registry_keys SET folded = CAST(upper(CAST(name AS TEXT)) "
                                "AS BLOB);"
                                "UPDATE registry_values SET folded = CAST(upper(CAST(name AS "
                                "TEXT)) AS BLOB);"
                                "PRAGMA user_version = 1;") +
                            extra_sql;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
}

int UserVersion(const std::string& path) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &statement, nullptr);
    const int version =
        sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return version;
}

using NameRulesRegistry = RegistryTest;

TEST_F(NameRulesRegistry, RegistryOfThePreviousVersionIsUpgradedInPlaceWhenOpened) {
    Build("Caf\xC3\xA9\n  \xC3\x84pfel = dword:0x1\nPlain\n  v = sz:x\n");
    MakeVersionOne(DatabasePath(), "");
    ASSERT_EQ(UserVersion(DatabasePath()), 1);
    // SQLite's upper() leaves é alone, as the old rule did: only the new rule finds CAFÉ.
    HKEY key = Open("CAF\xC3\x89");
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "\xC3\xA4PFEL", nullptr, nullptr, nullptr, &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(UserVersion(DatabasePath()), kRegistrySchemaVersion);
    EXPECT_EQ(Dump(""), "Caf\xC3\xA9\n  \xC3\x84pfel = dword:0x1\nPlain\n  v = sz:x\n");
}

TEST_F(NameRulesRegistry, UpgradeThatWouldMergeTwoNamesChangesNothing) {
    Build("K\n");
    // É and é were two keys under the old rule.
    MakeVersionOne(DatabasePath(),
                   "INSERT INTO registry_keys(parent, name, folded, last_write) VALUES"
                   " (1, x'c389', x'c389', 0), (1, x'c3a9', x'c3a9', 0);");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "K", 0, KEY_ALL_ACCESS, &key),
              ERROR_REGISTRY_CORRUPT);
    EXPECT_NE(std::string(ZovRegistryDiagnostic()).find("differ only in case"), std::string::npos)
        << ZovRegistryDiagnostic();
    CloseRegistryDatabase();
    EXPECT_EQ(UserVersion(DatabasePath()), 1);
}

}  // namespace
}  // namespace zov::test
