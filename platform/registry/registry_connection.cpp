#include "platform/registry/registry_connection.h"

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/format.h"
#include "platform/posix_file.h"
#include "platform/registry/folded_name_upgrade.h"
#include "platform/registry/registry_database.h"
#include "platform/registry/registry_diagnostic.h"
#include "platform/registry/registry_failure.h"
#include "platform/registry/registry_file_access.h"
#include "platform/registry/registry_file_creation.h"
#include "platform/registry/registry_hardening.h"
#include "platform/registry/registry_header.h"
#include "platform/registry/registry_journal.h"
#include "platform/registry/registry_layout.h"
#include "platform/registry/sqlite_statement.h"
#include "platform/registry/transaction_state.h"
#include "platform/registry/write_gate.h"

namespace zov {
namespace {

constexpr const char* kDefaultDatabasePath = "/var/lib/zovcfg/registry.db";
// Two processes that both write wait this long for each other before a call gives up.
constexpr int kBusyTimeoutMs = 30000;

}  // namespace

std::string RegistryDatabasePath() {
    auto& connection = RegistryConnection::Instance();
    std::lock_guard lock(connection.Mutex());
    return connection.Path();
}

void CloseRegistryDatabase() {
    auto& connection = RegistryConnection::Instance();
    std::lock_guard lock(connection.Mutex());
    connection.Close();
}

RegistryConnection& RegistryConnection::Instance() {
    // Never destroyed: registry calls from static destructors of other units stay safe.
    static auto* instance = [] {
        auto* connection = new RegistryConnection();
        pthread_atfork(nullptr, nullptr, &RegistryConnection::StartOverInChild);
        return connection;
    }();
    return *instance;
}

void RegistryConnection::StartOverInChild() {
    RegistryConnection& connection = Instance();
    connection.mutex_ = new std::recursive_mutex();  // the old one may be locked by the parent
    connection.process_id_ = getpid();
    connection.db_ = nullptr;  // SQLite forbids using it here
    connection.read_only_ = false;
    connection.schema_present_ = false;
    AbandonKeptStatements();
    TransactionState::Get() = TransactionState{};
}

const std::string& RegistryConnection::Path() {
    if (!path_) {
        const char* configured = std::getenv("ZOVCFG_REGISTRY");
        path_ = (configured != nullptr && *configured != '\0') ? configured : kDefaultDatabasePath;
    }
    return *path_;
}

void RegistryConnection::Release() {
    if (db_ != nullptr && owner_pid_ == process_id_) {
        FinalizeKeptStatements(db_);
        sqlite3_close_v2(db_);
    }
    // A connection inherited over fork() is left alone: closing it could disturb the parent's
    // locks, and SQLite forbids using it in the child.
    db_ = nullptr;
    read_only_ = false;
    schema_present_ = false;
}

sqlite3* RegistryConnection::Current() const {
    return owner_pid_ == process_id_ ? db_ : nullptr;
}

void RegistryConnection::Close() {
    Release();
    path_.reset();
    ++generation_;
    ClearRegistryDiagnostic();
}

LSTATUS RegistryConnection::Refuse(LSTATUS status, const std::string& reason) {
    return RefuseRegistry(status, Path(), reason);
}

LSTATUS RegistryConnection::StatusFromSqlite(int rc) {
    return RegistryStatusFromSqlite(db_, rc, Path());
}

LSTATUS RegistryConnection::Begin(sqlite3* db, bool for_writing) {
    int rc = sqlite3_exec(db, for_writing ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED", nullptr, nullptr,
                          nullptr);
    if (rc == SQLITE_OK && !for_writing) {
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    if (rc != SQLITE_OK) {
        return StatusFromSqlite(rc);
    }
    return ERROR_SUCCESS;
}

LSTATUS RegistryConnection::CheckFileAccess(bool for_writing) {
    auto& transaction = TransactionState::Get();
    if (transaction.depth > 0 && (for_writing ? transaction.may_write : transaction.may_read)) {
        return ERROR_SUCCESS;
    }
    const LSTATUS status = CheckFilePermissions(for_writing);
    if (status == ERROR_SUCCESS && transaction.depth > 0) {
        transaction.may_read = true;
        transaction.may_write = transaction.may_write || for_writing;
    }
    return status;
}

LSTATUS RegistryConnection::CheckFilePermissions(bool for_writing) {
    return CheckRegistryFileAccess(Path(), for_writing);
}

LSTATUS RegistryConnection::OpenDatabase(int flags) {
    sqlite3* db = nullptr;
    // A symbolic link at the path is not followed: the registry is the file itself.
    const int rc = sqlite3_open_v2(
        Path().c_str(), &db,
        flags | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOFOLLOW, nullptr);
    db_ = db;
    owner_pid_ = process_id_;
    ReloadWriteFaultPlan();
    read_only_ = (flags & SQLITE_OPEN_READONLY) != 0;
    if (rc != SQLITE_OK) {
        const LSTATUS status = StatusFromSqlite(rc);
        Release();
        return status;
    }
    LSTATUS status = HardenRegistryConnection(db_, Path());
    // A new file is laid out in rollback-journal mode, which users who may only read can read.
    const char* settings = !read_only_ ? "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; "
                                         "PRAGMA cell_size_check=ON"
                                       : "PRAGMA synchronous=FULL; PRAGMA cell_size_check=ON";
    if (status == ERROR_SUCCESS &&
        (sqlite3_busy_timeout(db_, kBusyTimeoutMs) != SQLITE_OK ||
         sqlite3_exec(db_, settings, nullptr, nullptr, nullptr) != SQLITE_OK)) {
        status = Refuse(ERROR_CANTOPEN,
                        FormatText("the connection could not be set up (%s)", sqlite3_errmsg(db_)));
    }
    if (status != ERROR_SUCCESS) {
        Release();
    }
    return status;
}

LSTATUS RegistryConnection::OpenExisting(bool for_writing) {
    bool empty_file = false;
    LSTATUS status = CheckRegistryHeader(Path(), &empty_file);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    const bool writable = CheckFilePermissions(true) == ERROR_SUCCESS;
    if (!writable) {
        ClearRegistryDiagnostic();  // reading is still fine; a write reports it
        if (CheckFilePermissions(false) != ERROR_SUCCESS) {
            return ERROR_ACCESS_DENIED;
        }
    }
    status = OpenDatabase(writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = CheckRegistryLayout(db_, Path(), &schema_present_);
    if (status == ERROR_SUCCESS && schema_present_ && !read_only_) {
        // A registry of an older version gets the current name rules before any call uses it;
        // one that only may be read keeps its names, which differ only outside ASCII.
        std::string conflict;
        status = UpgradeFoldedNames(db_, &conflict);
        if (!conflict.empty()) {
            status = Refuse(status,
                            "cannot bring the registry's names up to this version: it "
                            "holds " +
                                conflict + "; it was left untouched");
        }
    }
    if (status != ERROR_SUCCESS) {
        Release();
        return status;
    }
    if (for_writing && read_only_) {
        return CheckFilePermissions(true);
    }
    return ERROR_SUCCESS;
}

LSTATUS RegistryConnection::InitializeSchema() {
    const LSTATUS status = InitializeRegistryLayout(db_, Path());
    schema_present_ = status == ERROR_SUCCESS;
    return status;
}

LSTATUS RegistryConnection::CreateMissing() {
    LSTATUS status = CheckFilePermissions(true);
    if (status == ERROR_SUCCESS) {
        status = CreateRegistryFiles(Path());
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = OpenDatabase(SQLITE_OPEN_READWRITE);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    bool empty_file = false;
    status = CheckRegistryHeader(Path(), &empty_file);
    if (status == ERROR_SUCCESS && !empty_file) {
        status = CheckRegistryLayout(db_, Path(), &schema_present_);  // another process was first
    } else if (status == ERROR_SUCCESS) {
        status = InitializeSchema();
    }
    if (status != ERROR_SUCCESS) {
        Release();
    }
    return status;
}

LSTATUS RegistryConnection::Acquire(bool for_writing, sqlite3** db) {
    *db = nullptr;
    if (db_ != nullptr && owner_pid_ != process_id_) {
        Release();
    }
    // SQLite replays a journal it finds at the start of any transaction.
    if (db_ == nullptr || sqlite3_get_autocommit(db_) != 0) {
        const LSTATUS status = CheckRegistryJournal(Path());
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    if (db_ != nullptr && read_only_ && for_writing) {
        // Opened for reading only; if the file has become writable and no transaction holds
        // the connection, open it again for writing.
        if (sqlite3_get_autocommit(db_) == 0) {
            if (CheckFilePermissions(true) != ERROR_SUCCESS) {
                return ERROR_ACCESS_DENIED;
            }
            return Refuse(ERROR_ACCESS_DENIED,
                          "the registry was opened for reading in this transaction");
        }
        const LSTATUS status = CheckFilePermissions(true);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        Release();
    }
    if (db_ == nullptr) {
        struct stat info {};
        if (stat(Path().c_str(), &info) != 0) {
            const int error = errno;
            if (error != ENOENT) {
                return Refuse(RegistryStatusFromErrno(error), std::strerror(error));
            }
            if (!for_writing) {
                return ERROR_SUCCESS;  // no database yet: an empty registry
            }
            const LSTATUS status = CreateMissing();
            if (status != ERROR_SUCCESS) {
                return status;
            }
        } else {
            const LSTATUS status = OpenExisting(for_writing);
            if (status != ERROR_SUCCESS) {
                return status;
            }
        }
    }
    if (!schema_present_) {
        if (!for_writing) {
            return ERROR_SUCCESS;  // an empty file: an empty registry
        }
        const LSTATUS status = InitializeSchema();
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    *db = db_;
    return ERROR_SUCCESS;
}

}  // namespace zov
