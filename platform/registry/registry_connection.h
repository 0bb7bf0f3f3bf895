// The process's one connection to the registry database and its life cycle: finds the file, has
// it checked before and after SQLite opens it, creates it on the first write, and starts over in
// a forked child. Callers hold Mutex() while they use it.
#pragma once

#include <sqlite3.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "platform/win32/registry.h"

namespace zov {

class RegistryConnection {
  public:
    static RegistryConnection& Instance();

    std::recursive_mutex& Mutex() { return *mutex_; }

    const std::string& Path();

    // Changes whenever the connection is closed on purpose; handles remember it.
    std::uint64_t Generation() const { return generation_; }

    // Gives the connection to use. For reading, *db is null with ERROR_SUCCESS when the database
    // does not exist yet (or is an empty file): an empty registry. For writing, a missing
    // database is created with its directory.
    LSTATUS Acquire(bool for_writing, sqlite3** db);

    // The file permission a handle needs: read permission on the file, or for writing, write
    // permission on the file and its directory (for a missing file, on the nearest existing
    // directory that would hold it). Effective ids decide, as the kernel will. Inside a
    // RegistryTransaction a permission found once holds for the rest of it.
    LSTATUS CheckFileAccess(bool for_writing);

    // Maps an SQLite failure to a Win32 status and, for failures of the database itself, sets
    // the diagnostic line.
    LSTATUS StatusFromSqlite(int rc);

    // Starts the SQLite transaction of an outermost scope on db. A writer's is immediate, so that
    // writers serialise from the start and never have to upgrade a lock; a reader's is deferred
    // and takes its snapshot at once with a read. On failure nothing is left open.
    LSTATUS Begin(sqlite3* db, bool for_writing);

    // This process's id, kept so that the many checks for a forked child make no system call.
    pid_t ProcessId() const { return process_id_; }

    // The open connection of this process, or null.
    sqlite3* Current() const;

    void Close();

  private:
    RegistryConnection() = default;

    // Opens the file with SQLite's flags and sets the connection up; released again on failure.
    LSTATUS OpenDatabase(int flags);
    LSTATUS OpenExisting(bool for_writing);
    LSTATUS CreateMissing();
    LSTATUS CheckFilePermissions(bool for_writing);
    LSTATUS InitializeSchema();
    LSTATUS Refuse(LSTATUS status, const std::string& reason);
    void Release();
    // In a child after fork(): the parent's locks and transaction are not the child's.
    static void StartOverInChild();

    // Replaced, never destroyed, in a forked child: the parent's thread may have held it.
    std::recursive_mutex* mutex_ = new std::recursive_mutex();
    std::optional<std::string> path_;
    sqlite3* db_ = nullptr;
    pid_t process_id_ = getpid();
    pid_t owner_pid_ = 0;
    bool read_only_ = false;
    bool schema_present_ = false;
    std::uint64_t generation_ = 1;
};

}  // namespace zov
