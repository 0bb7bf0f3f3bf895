#include "platform/registry/registry_layout.h"

#include <cstdint>

#include "platform/format.h"
#include "platform/registry/registry_failure.h"
#include "platform/registry/registry_schema.h"
#include "platform/registry/sqlite_statement.h"
#include "platform/registry/write_gate.h"

namespace zov {

LSTATUS CheckRegistryLayout(sqlite3* db, const std::string& path, bool* present) {
    *present = false;
    SqliteStatement check(db,
                          "SELECT (SELECT application_id FROM pragma_application_id),"
                          " (SELECT user_version FROM pragma_user_version),"
                          " (SELECT count(*) FROM sqlite_schema WHERE name IN"
                          "  ('registry_keys','registry_values')),"
                          " (SELECT count(*) FROM sqlite_schema)");
    if (!check.Prepared()) {
        return RegistryStatusFromSqlite(db, check.ResultCode(), path);
    }
    const int rc = check.Step();
    if (rc != SQLITE_ROW) {
        return RegistryStatusFromSqlite(db, rc, path);
    }
    const std::int64_t application_id = check.ColumnInt(0);
    const std::int64_t tables = check.ColumnInt(2);
    const std::int64_t objects = check.ColumnInt(3);
    if (application_id == 0 && objects == 0) {
        return ERROR_SUCCESS;  // an empty file: the first write lays out the tables
    }
    if (application_id != kRegistryApplicationId) {
        return RefuseRegistry(
            ERROR_BADDB, path,
            "not a zovcfg registry (foreign SQLite database); it was left untouched");
    }
    if (tables != 2) {
        return RefuseRegistry(ERROR_BADDB, path,
                              "the registry is damaged (tables missing); it was left untouched");
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
