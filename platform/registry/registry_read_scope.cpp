#include <sqlite3.h>

#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_diagnostic.h"
#include "platform/registry/transaction_state.h"
#include "platform/win32/registry.h"

using zov::RegistryConnection;
using zov::TransactionState;

RegistryReadScope::RegistryReadScope() {
    auto& connection = RegistryConnection::Instance();
    connection.Mutex().lock();
    held_ = true;
    owner_process_ = connection.ProcessId();
    auto& state = TransactionState::Get();
    outer_was_read_ = state.read_scope;
    if (state.depth > 0) {
        // Inside a transaction or another read scope: its snapshot is already ours.
        ++state.depth;
        state.read_scope = true;
        return;
    }
    sqlite3* db = nullptr;
    status_ = connection.Acquire(false, &db);
    if (status_ == ERROR_SUCCESS && db != nullptr) {
        status_ = connection.Begin(db, false);
    }
    if (status_ != ERROR_SUCCESS) {
        held_ = false;
        connection.Mutex().unlock();
        return;
    }
    // With no database yet, the registry reads as empty until the scope ends.
    state = TransactionState{1, db != nullptr, true, false};
    state.read_scope = true;
    outermost_ = true;
}

RegistryReadScope::~RegistryReadScope() {
    auto& connection = RegistryConnection::Instance();
    if (!held_ || owner_process_ != connection.ProcessId()) {
        return;  // never started, or a copy in a forked child
    }
    auto& state = TransactionState::Get();
    if (outermost_) {
        sqlite3* db = connection.Current();
        if (state.sqlite_open && db != nullptr && sqlite3_get_autocommit(db) == 0) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);  // nothing to keep
        }
        state = TransactionState{};
    } else {
        --state.depth;
        state.read_scope = outer_was_read_;
    }
    connection.Mutex().unlock();
}
