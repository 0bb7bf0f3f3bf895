#include <sqlite3.h>

#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_diagnostic.h"
#include "platform/registry/transaction_state.h"
#include "platform/registry/write_gate.h"
#include "platform/win32/registry.h"

using zov::RegistryConnection;
using zov::TransactionState;

RegistryTransaction::RegistryTransaction() {
    auto& connection = RegistryConnection::Instance();
    connection.Mutex().lock();
    owner_process_ = connection.ProcessId();
    auto& state = TransactionState::Get();
    if (state.read_scope) {
        // Its changes could only be refused: say so at once, and Commit says it again.
        status_ = ERROR_ACCESS_DENIED;
        finished_ = true;
        connection.Mutex().unlock();
        return;
    }
    if (state.depth > 0) {
        ++state.depth;
        joined_ = true;
        return;
    }
    // Whatever the scope's calls fail for is theirs, not an earlier call's.
    zov::ClearRegistryDiagnostic();
    sqlite3* db = nullptr;
    status_ = connection.Acquire(false, &db);
    bool read_only = false;
    if (status_ == ERROR_SUCCESS && db != nullptr) {
        // A user who may only read gets a read transaction.
        read_only = sqlite3_db_readonly(db, "main") == 1;
        status_ = connection.Begin(db, !read_only);
    }
    if (status_ != ERROR_SUCCESS) {
        // Calls in this scope run on their own.
        finished_ = true;
        connection.Mutex().unlock();
        return;
    }
    // With no database yet, the first write of the scope creates it and starts the transaction.
    state = TransactionState{1, db != nullptr, read_only, false};
    outermost_ = true;
}

RegistryTransaction::~RegistryTransaction() {
    auto& connection = RegistryConnection::Instance();
    if (owner_process_ != connection.ProcessId()) {
        return;  // a copy in a forked child: the transaction is the parent's
    }
    auto& state = TransactionState::Get();
    if (joined_) {
        if (!finished_) {
            state.doomed = true;
        }
        --state.depth;
        connection.Mutex().unlock();
        return;
    }
    if (!outermost_) {
        return;  // never started; the mutex was let go then
    }
    if (!finished_ && state.sqlite_open) {
        sqlite3* db = connection.Current();
        if (db != nullptr && sqlite3_get_autocommit(db) == 0) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    state = TransactionState{};
    connection.Mutex().unlock();
}

LSTATUS RegistryTransaction::Commit() {
    if (owner_process_ != RegistryConnection::Instance().ProcessId()) {
        return ERROR_INVALID_FUNCTION;
    }
    if (!outermost_ && !joined_) {
        return status_;
    }
    if (finished_) {
        return ERROR_INVALID_FUNCTION;
    }
    finished_ = true;
    if (joined_) {
        return ERROR_SUCCESS;  // the outermost scope decides
    }
    auto& connection = RegistryConnection::Instance();
    auto& state = TransactionState::Get();
    if (!state.sqlite_open) {
        return state.doomed ? static_cast<LSTATUS>(ERROR_CANTWRITE)
                            : ERROR_SUCCESS;  // nothing was written
    }
    sqlite3* db = connection.Current();
    if (db == nullptr || sqlite3_get_autocommit(db) != 0) {
        return ERROR_REGISTRY_IO_FAILED;  // the transaction was already rolled back
    }
    if (state.doomed) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return ERROR_CANTWRITE;
    }
    const int rc = state.read_only ? sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr)
                                   : zov::ExecuteWriteSql(db, "COMMIT");
    if (rc != SQLITE_OK) {
        const LSTATUS status = connection.StatusFromSqlite(rc);
        if (sqlite3_get_autocommit(db) == 0) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
        return status;
    }
    return ERROR_SUCCESS;
}
