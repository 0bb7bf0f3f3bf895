#include "platform/registry/registry_call.h"

#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_diagnostic.h"
#include "platform/registry/sqlite_statement.h"
#include "platform/registry/transaction_state.h"
#include "platform/registry/write_gate.h"

namespace zov {

RegistryCall::RegistryCall(Kind kind)
    : lock_(RegistryConnection::Instance().Mutex()), writes_(kind != Kind::kRead) {
    auto& connection = RegistryConnection::Instance();
    auto& transaction = TransactionState::Get();
    if (writes_ && transaction.read_scope) {
        status_ = ERROR_ACCESS_DENIED;
        SetRegistryDiagnostic("a change was asked for inside a read-only registry scope");
        return;
    }
    status_ = connection.Acquire(kind == Kind::kWrite, &db_);
    if (status_ == ERROR_SUCCESS && db_ != nullptr && kind == Kind::kChangeExisting) {
        status_ = connection.Acquire(true, &db_);
    }
    if (status_ != ERROR_SUCCESS || db_ == nullptr) {
        return;
    }
    if (transaction.depth > 0 && !transaction.sqlite_open && writes_) {
        // The scope began before the database existed; its first write starts the transaction.
        const int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            status_ = connection.StatusFromSqlite(rc);
            return;
        }
        transaction.sqlite_open = true;
    }
    if (transaction.depth > 0 && transaction.sqlite_open) {
        if (sqlite3_get_autocommit(db_) != 0) {
            // SQLite rolled the transaction back after an error; going on would commit the rest
            // of the scope piecemeal.
            transaction.doomed = true;
            status_ = ERROR_REGISTRY_IO_FAILED;
            SetRegistryDiagnostic("the registry transaction was rolled back after an error");
            return;
        }
        if (!writes_) {
            return;  // a read inside the transaction has nothing to undo
        }
        const int rc = ExecuteKeptStatement(db_, "SAVEPOINT registry_call");
        if (rc != SQLITE_OK) {
            status_ = connection.StatusFromSqlite(rc);
            return;
        }
        savepoint_ = true;
        return;
    }
    const int rc = ExecuteKeptStatement(db_, writes_ ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED");
    if (rc != SQLITE_OK) {
        status_ = connection.StatusFromSqlite(rc);
        return;
    }
    own_transaction_ = true;
}

LSTATUS RegistryCall::StatusOn(const OpenedKey& key) const {
    return status_ != ERROR_SUCCESS ? status_ : CheckKeyAlive(db_, key);
}

RegistryCall::~RegistryCall() {
    if (!finished_) {
        Undo();
    }
}

void RegistryCall::Undo() {
    finished_ = true;
    if (db_ == nullptr) {
        return;
    }
    if (savepoint_) {
        if (sqlite3_get_autocommit(db_) == 0) {
            sqlite3_exec(db_, "ROLLBACK TO registry_call; RELEASE registry_call", nullptr, nullptr,
                         nullptr);
        }
    } else if (own_transaction_ && sqlite3_get_autocommit(db_) == 0) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

LSTATUS RegistryCall::Finish(LSTATUS result) {
    if (finished_) {
        return result;
    }
    if (result != ERROR_SUCCESS || status_ != ERROR_SUCCESS) {
        Undo();
        return result;
    }
    finished_ = true;
    if (db_ == nullptr) {
        return result;
    }
    int rc = SQLITE_OK;
    if (savepoint_) {
        rc = ExecuteKeptStatement(db_, "RELEASE registry_call");
    } else if (own_transaction_) {
        rc = writes_ ? ExecuteWriteSql(db_, "COMMIT") : ExecuteKeptStatement(db_, "COMMIT");
    }
    if (rc != SQLITE_OK) {
        const LSTATUS status = RegistryConnection::Instance().StatusFromSqlite(rc);
        if (sqlite3_get_autocommit(db_) == 0) {
            sqlite3_exec(
                db_, savepoint_ ? "ROLLBACK TO registry_call; RELEASE registry_call" : "ROLLBACK",
                nullptr, nullptr, nullptr);
        }
        return status;
    }
    return ERROR_SUCCESS;
}

}  // namespace zov
