// The state of the RegistryTransaction scopes of the process. Only the thread that holds the
// registry mutex reads or changes it, and a transaction scope holds that mutex while it lives.
#pragma once

namespace zov {

struct TransactionState {
    int depth = 0;             // open RegistryTransaction scopes
    bool sqlite_open = false;  // an SQLite transaction is open for them
    bool read_only = false;    // it is a deferred read transaction (the user may not write)
    bool doomed = false;  // an inner scope ended without Commit, or a call lost the transaction
    // File permissions already found sufficient in this transaction; they are checked once per
    // transaction, not at every key opened in it.
    bool may_read = false;
    bool may_write = false;
    bool read_scope = false;  // a RegistryReadScope is open: writes are refused

    static TransactionState& Get();
};

}  // namespace zov
