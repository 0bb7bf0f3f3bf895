#include "platform/registry/folded_name_upgrade.h"

#include <cstdint>
#include <vector>

#include "platform/format.h"
#include "platform/registry/key_name.h"
#include "platform/registry/registry_schema.h"
#include "platform/registry/sqlite_statement.h"
#include "platform/registry/write_gate.h"

namespace zov {
namespace {

struct Refold {
    std::int64_t row;
    std::string name;
    std::string folded;
};

// The rows of table whose folded name changes under the current rule. Only names outside
// ASCII change, so the list stays short.
int FindChanges(sqlite3* db, const char* select, std::vector<Refold>* changes) {
    SqliteStatement rows(db, select);
    if (!rows.Prepared()) {
        return rows.ResultCode();
    }
    int rc = SQLITE_ROW;
    while ((rc = rows.Step()) == SQLITE_ROW) {
        const std::string name = rows.ColumnText(1);
        std::string folded = FoldName(name);
        if (folded != rows.ColumnText(2)) {
            changes->push_back(Refold{rows.ColumnInt(0), name, std::move(folded)});
        }
    }
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int ApplyChanges(sqlite3* db, const char* update, const std::vector<Refold>& changes,
                 std::string* conflict) {
    for (const Refold& change : changes) {
        SqliteStatement statement(db, update);
        if (!statement.Prepared()) {
            return statement.ResultCode();
        }
        statement.BindBlob(1, change.folded);
        statement.BindInt(2, change.row);
        const int rc = ExecuteWrite(statement.Get());
        if (rc == SQLITE_CONSTRAINT_UNIQUE) {
            *conflict = FormatText("two names that differ only in case, one of them '%s'",
                                   change.name.c_str());
        }
        if (rc != SQLITE_DONE) {
            return rc;
        }
    }
    return SQLITE_OK;
}

int StoredVersion(sqlite3* db, std::int64_t* stored) {
    SqliteStatement version(db, "SELECT user_version FROM pragma_user_version");
    const int rc = version.Prepared() ? version.Step() : version.ResultCode();
    if (rc == SQLITE_ROW) {
        *stored = version.ColumnInt(0);
    }
    return rc;
}

}  // namespace

LSTATUS UpgradeFoldedNames(sqlite3* db, std::string* conflict) {
    conflict->clear();
    std::int64_t stored = 0;
    if (StoredVersion(db, &stored) == SQLITE_ROW && stored >= kRegistrySchemaVersion) {
        return ERROR_SUCCESS;  // the usual case, without taking the write lock
    }
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        return ERROR_REGISTRY_IO_FAILED;
    }
    // Read again inside the transaction: another process may have upgraded it meanwhile.
    rc = StoredVersion(db, &stored);
    const bool current = rc == SQLITE_ROW && stored >= kRegistrySchemaVersion;
    std::vector<Refold> keys;
    std::vector<Refold> values;
    if (rc == SQLITE_ROW && !current) {
        rc = FindChanges(db, "SELECT id, name, folded FROM registry_keys", &keys);
        if (rc == SQLITE_OK) {
            rc = FindChanges(db, "SELECT rowid, name, folded FROM registry_values", &values);
        }
        if (rc == SQLITE_OK) {
            rc = ApplyChanges(db, "UPDATE registry_keys SET folded = ?1 WHERE id = ?2", keys,
                              conflict);
        }
        if (rc == SQLITE_OK) {
            rc = ApplyChanges(db, "UPDATE registry_values SET folded = ?1 WHERE rowid = ?2", values,
                              conflict);
        }
        if (rc == SQLITE_OK) {
            const std::string set_version =
                FormatText("PRAGMA user_version=%d", kRegistrySchemaVersion);
            rc = ExecuteWriteSql(db, set_version.c_str());
        }
        if (rc == SQLITE_OK) {
            rc = ExecuteWriteSql(db, "COMMIT");
        }
    }
    if (current) {
        rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        return ERROR_SUCCESS;
    }
    if (sqlite3_get_autocommit(db) == 0) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    return conflict->empty() ? ERROR_REGISTRY_IO_FAILED : ERROR_REGISTRY_CORRUPT;
}

}  // namespace zov
