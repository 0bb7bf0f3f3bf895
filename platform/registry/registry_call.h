// The frame of one registry call: holds the registry mutex, gives the connection, and makes the
// call atomic: its own transaction outside a RegistryTransaction, a savepoint inside one, so that
// a call that fails half-way leaves nothing behind either way.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <mutex>

#include "platform/registry/opened_key.h"
#include "platform/win32/registry.h"

namespace zov {

class RegistryCall {
  public:
    // kChangeExisting writes, but leaves a missing registry missing (Db() null): deleting from
    // an empty registry finds nothing and must not create the file.
    enum class Kind { kRead, kWrite, kChangeExisting };

    explicit RegistryCall(Kind kind);
    ~RegistryCall();
    RegistryCall(const RegistryCall&) = delete;
    RegistryCall& operator=(const RegistryCall&) = delete;

    // ERROR_SUCCESS when the call may go on.
    LSTATUS Status() const { return status_; }
    // ERROR_SUCCESS when the call may go on with key, which must still exist.
    LSTATUS StatusOn(const OpenedKey& key) const;

    // The connection, or null for a read of a registry that does not exist yet (empty).
    sqlite3* Db() const { return db_; }

    // Ends the call: keeps its changes when result is ERROR_SUCCESS, else undoes them. Returns
    // result, or the failure of making the changes durable.
    LSTATUS Finish(LSTATUS result);

  private:
    void Undo();

    std::unique_lock<std::recursive_mutex> lock_;
    LSTATUS status_ = ERROR_SUCCESS;
    sqlite3* db_ = nullptr;
    bool writes_ = false;
    bool own_transaction_ = false;
    bool savepoint_ = false;
    bool finished_ = false;
};

}  // namespace zov
