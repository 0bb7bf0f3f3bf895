#include "platform/registry/registry_layout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/format.h"
#include "platform/registry/registry_failure.h"
#include "platform/registry/registry_schema.h"
#include "platform/registry/sqlite_statement.h"
#include "platform/registry/write_gate.h"

namespace zov {

namespace {

// One row of sqlite_schema: type, name, table and the SQL text that made it.
using SchemaObject = std::array<std::string, 4>;

int ReadSchemaObjects(sqlite3* db, std::vector<SchemaObject>* objects) {
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db,
                                "SELECT type, name, tbl_name, sql FROM sqlite_schema"
                                " ORDER BY type, name",
                                -1, &statement, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
        if (rc != SQLITE_ROW) {
            break;
        }
        SchemaObject object;
        for (int column = 0; column < 4; ++column) {
            const auto* text = sqlite3_column_text(statement, column);
            object[static_cast<std::size_t>(column)] =
                text != nullptr ? reinterpret_cast<const char*>(text) : "";
        }
        objects->push_back(std::move(object));
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// The objects that kRegistrySchemaSql makes, as SQLite records them: laid out once in memory.
const std::vector<SchemaObject>& ExpectedSchemaObjects() {
    static const auto* expected = [] {
        auto* objects = new std::vector<SchemaObject>();
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
            sqlite3_exec(db, kRegistrySchemaSql, nullptr, nullptr, nullptr) == SQLITE_OK) {
            ReadSchemaObjects(db, objects);
        }
        sqlite3_close(db);
        return objects;
    }();
    return *expected;
}

// The first object where the two lists differ, for the diagnostic.
std::string FirstDifference(const std::vector<SchemaObject>& found,
                            const std::vector<SchemaObject>& expected) {
    for (const SchemaObject& object : found) {
        if (std::find(expected.begin(), expected.end(), object) == expected.end()) {
            return FormatText("%s %s is not of this program", object[0].c_str(), object[1].c_str());
        }
    }
    for (const SchemaObject& object : expected) {
        if (std::find(found.begin(), found.end(), object) == found.end()) {
            return FormatText("%s %s is missing", object[0].c_str(), object[1].c_str());
        }
    }
    return "objects differ";
}

}  // namespace

LSTATUS CheckRegistryLayout(sqlite3* db, const std::string& path, bool* present) {
    *present = false;
    SqliteStatement marks(db,
                          "SELECT (SELECT application_id FROM pragma_application_id),"
                          " (SELECT count(*) FROM sqlite_schema)");
    if (!marks.Prepared()) {
        return RegistryStatusFromSqlite(db, marks.ResultCode(), path);
    }
    const int rc = marks.Step();
    if (rc != SQLITE_ROW) {
        return RegistryStatusFromSqlite(db, rc, path);
    }
    const std::int64_t application_id = marks.ColumnInt(0);
    const std::int64_t objects = marks.ColumnInt(1);
    marks.Reset();
    if (application_id == 0 && objects == 0) {
        return ERROR_SUCCESS;  // an empty file: the first write lays out the tables
    }
    if (application_id != kRegistryApplicationId) {
        return RefuseRegistry(
            ERROR_BADDB, path,
            "not a zovcfg registry (foreign SQLite database); it was left untouched");
    }
    // Exactly the tables and indexes this program makes, each with its own SQL: nothing else
    // that SQLite would run or look up (triggers, views, other tables) is accepted.
    std::vector<SchemaObject> found;
    const int schema_rc = ReadSchemaObjects(db, &found);
    if (schema_rc != SQLITE_OK) {
        return RegistryStatusFromSqlite(db, schema_rc, path);
    }
    const std::vector<SchemaObject>& expected = ExpectedSchemaObjects();
    if (expected.empty()) {
        return RefuseRegistry(ERROR_NOT_ENOUGH_MEMORY, path,
                              "the registry's layout could not be compared");
    }
    if (found != expected) {
        return RefuseRegistry(ERROR_BADDB, path,
                              FormatText("the registry's layout is not this program's (%s); it "
                                         "was left untouched",
                                         FirstDifference(found, expected).c_str()));
    }
    SqliteStatement root(db, "SELECT count(*) FROM registry_keys WHERE id = ?1 AND parent = 0");
    if (!root.Prepared()) {
        return RegistryStatusFromSqlite(db, root.ResultCode(), path);
    }
    root.BindInt(1, kRootKeyId);
    const int root_rc = root.Step();
    if (root_rc != SQLITE_ROW) {
        return RegistryStatusFromSqlite(db, root_rc, path);
    }
    if (root.ColumnInt(0) != 1) {
        return RefuseRegistry(ERROR_BADDB, path,
                              "the registry is damaged (no root key); it was left untouched");
    }
    *present = true;
    return ERROR_SUCCESS;
}

LSTATUS InitializeRegistryLayout(sqlite3* db, const std::string& path) {
    // Inside a transaction of the caller a savepoint keeps the layout with it; alone, an
    // immediate transaction keeps two processes from laying it out twice.
    const bool nested = sqlite3_get_autocommit(db) == 0;
    int rc = sqlite3_exec(db, nested ? "SAVEPOINT registry_layout" : "BEGIN IMMEDIATE", nullptr,
                          nullptr, nullptr);
    if (rc != SQLITE_OK) {
        return RegistryStatusFromSqlite(db, rc, path);
    }
    SqliteStatement check(db, "SELECT count(*) FROM sqlite_schema");
    rc = check.Prepared() ? check.Step() : check.ResultCode();
    const bool already = rc == SQLITE_ROW && check.ColumnInt(0) > 0;
    const char* undo = nested ? "ROLLBACK TO registry_layout; RELEASE registry_layout" : "ROLLBACK";
    if (rc != SQLITE_ROW) {
        sqlite3_exec(db, undo, nullptr, nullptr, nullptr);
        return RegistryStatusFromSqlite(db, rc, path);
    }
    if (!already) {
        const std::string layout = FormatText(
            "%s"
            "INSERT INTO registry_keys(id, parent, name, folded, last_write)"
            " VALUES(%lld, 0, x'', x'', 0);"
            "PRAGMA application_id=%d; PRAGMA user_version=%d;",
            kRegistrySchemaSql, static_cast<long long>(kRootKeyId), kRegistryApplicationId,
            kRegistrySchemaVersion);
        rc = ExecuteWriteSql(db, layout.c_str());
        if (rc != SQLITE_OK) {
            const LSTATUS status = RegistryStatusFromSqlite(db, rc, path);
            sqlite3_exec(db, undo, nullptr, nullptr, nullptr);
            return status;
        }
    }
    rc = nested ? sqlite3_exec(db, "RELEASE registry_layout", nullptr, nullptr, nullptr)
                : ExecuteWriteSql(db, "COMMIT");
    if (rc != SQLITE_OK) {
        const LSTATUS status = RegistryStatusFromSqlite(db, rc, path);
        sqlite3_exec(db, undo, nullptr, nullptr, nullptr);
        return status;
    }
    if (already) {
        // Another process laid it out in the meantime: check it as any existing file.
        bool present = false;
        return CheckRegistryLayout(db, path, &present);
    }
    return ERROR_SUCCESS;
}

}  // namespace zov
