#include "platform/registry/registry_connection.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/format.h"
#include "platform/kernel/win32_error_from_errno.h"
#include "platform/posix_file.h"
#include "platform/registry/folded_name_upgrade.h"
#include "platform/registry/registry_database.h"
#include "platform/registry/registry_diagnostic.h"
#include "platform/registry/registry_schema.h"
#include "platform/registry/sqlite_statement.h"
#include "platform/registry/transaction_state.h"
#include "platform/registry/write_gate.h"

namespace zov {
namespace {

constexpr const char* kDefaultDatabasePath = "/var/lib/zovcfg/registry.db";
// Two processes that both write wait this long for each other before a call gives up.
constexpr int kBusyTimeoutMs = 30000;
constexpr std::size_t kSqliteHeaderSize = 100;
constexpr const char kSqliteMagic[] = "SQLite format 3";

std::uint32_t BigEndian32(const unsigned char* bytes) {
    return (static_cast<std::uint32_t>(bytes[0]) << 24) |
           (static_cast<std::uint32_t>(bytes[1]) << 16) |
           (static_cast<std::uint32_t>(bytes[2]) << 8) | static_cast<std::uint32_t>(bytes[3]);
}

// Creates every missing directory of dir, each with mode 0755.
int MakeDirectories(const std::string& dir) {
    struct stat info {};
    if (stat(dir.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    if (errno != ENOENT) {
        return errno;
    }
    const std::string parent = DirectoryOf(dir);
    if (parent != dir) {
        const int error = MakeDirectories(parent);
        if (error != 0) {
            return error;
        }
    }
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
        return errno;
    }
    return 0;
}

// The status of a failed system call on the database file or its directories.
LSTATUS StatusFromErrno(int error) {
    return static_cast<LSTATUS>(Win32ErrorFromErrno(error, ERROR_CANTOPEN));
}

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
    SetRegistryDiagnostic(FormatText("%s: %s", Path().c_str(), reason.c_str()));
    return status;
}

LSTATUS RegistryConnection::StatusFromSqlite(int rc) {
    const char* message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    switch (rc & 0xff) {
        case SQLITE_OK:
        case SQLITE_DONE:
        case SQLITE_ROW:
            return ERROR_SUCCESS;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
        case SQLITE_FORMAT:
            return Refuse(
                ERROR_BADDB,
                FormatText("the registry is damaged (%s); it was left untouched", message));
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return Refuse(ERROR_ACCESS_DENIED,
                          FormatText("the registry cannot be changed (%s)", message));
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return Refuse(
                ERROR_BUSY,
                FormatText("the registry stayed locked by another process (%s)", message));
        case SQLITE_FULL:
            return Refuse(ERROR_DISK_FULL, FormatText("the disk is full (%s)", message));
        case SQLITE_NOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case SQLITE_CANTOPEN:
            return Refuse(ERROR_CANTOPEN, FormatText("cannot open the registry (%s)", message));
        case SQLITE_TOOBIG:
            return ERROR_INVALID_PARAMETER;
        default:
            return Refuse(ERROR_REGISTRY_IO_FAILED,
                          FormatText("reading or writing the registry failed (%s)", message));
    }
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
    const std::string& path = Path();
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            return Refuse(StatusFromErrno(errno), std::strerror(errno));
        }
        if (!for_writing) {
            return ERROR_SUCCESS;
        }
        // The file and perhaps its directories will be created: the nearest existing directory
        // must let us.
        std::string dir = DirectoryOf(path);
        while (stat(dir.c_str(), &info) != 0 && dir != "/" && dir != ".") {
            dir = DirectoryOf(dir);
        }
        if (faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
            const int error = errno;
            return Refuse(ERROR_ACCESS_DENIED, FormatText("cannot create the registry in %s (%s)",
                                                          dir.c_str(), std::strerror(error)));
        }
        return ERROR_SUCCESS;
    }
    if (faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) != 0) {
        const int error = errno;
        return Refuse(ERROR_ACCESS_DENIED,
                      FormatText("no read permission (%s)", std::strerror(error)));
    }
    if (!for_writing) {
        return ERROR_SUCCESS;
    }
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        const int error = errno;
        return Refuse(ERROR_ACCESS_DENIED,
                      error == EROFS
                          ? std::string("it is on a read-only file system")
                          : FormatText("no write permission (%s)", std::strerror(error)));
    }
    // The rollback journal is created beside the file.
    const std::string dir = DirectoryOf(path);
    if (faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        const int error = errno;
        return Refuse(ERROR_ACCESS_DENIED,
                      FormatText("no write permission on its directory %s (%s)", dir.c_str(),
                                 std::strerror(error)));
    }
    return ERROR_SUCCESS;
}

LSTATUS RegistryConnection::CheckHeader(bool* empty_file) {
    *empty_file = false;
    const UniqueFd file(open(Path().c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file.Valid()) {
        const int error = errno;
        return Refuse(StatusFromErrno(error), FormatText("cannot open (%s)", std::strerror(error)));
    }
    struct stat info {};
    if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return Refuse(ERROR_BADDB,
                      "not a zovcfg registry (not a regular file); it was left untouched");
    }
    if (info.st_size == 0) {
        *empty_file = true;
        return ERROR_SUCCESS;
    }
    std::array<unsigned char, kSqliteHeaderSize> header{};
    const ssize_t got = ReadAll(file.Get(), header.data(), header.size());
    if (got != static_cast<ssize_t>(header.size()) ||
        std::memcmp(header.data(), kSqliteMagic, sizeof kSqliteMagic) != 0) {
        return Refuse(ERROR_BADDB,
                      "not a zovcfg registry (not an SQLite database); it was left untouched");
    }
    if (BigEndian32(header.data() + 68) != static_cast<std::uint32_t>(kRegistryApplicationId)) {
        return Refuse(ERROR_BADDB,
                      "not a zovcfg registry (foreign SQLite database); it was left untouched");
    }
    const std::uint32_t version = BigEndian32(header.data() + 60);
    if (version > static_cast<std::uint32_t>(kRegistrySchemaVersion)) {
        return Refuse(ERROR_BADDB,
                      FormatText("the registry has layout version %u, newer than this program "
                                 "knows (%d); it was left untouched",
                                 version, kRegistrySchemaVersion));
    }
    if (version < 1) {
        return Refuse(ERROR_BADDB,
                      "the registry is damaged (no layout version); it was left untouched");
    }
    // Bytes 18 and 19 are 2 in write-ahead-log mode, which readers without write permission
    // cannot read; this registry always uses the rollback journal.
    if (header[18] != 1 || header[19] != 1) {
        return Refuse(ERROR_BADDB,
                      "the registry is not in rollback-journal mode; it was left untouched");
    }
    return ERROR_SUCCESS;
}

LSTATUS RegistryConnection::CheckSchema() {
    SqliteStatement check(db_,
                          "SELECT (SELECT application_id FROM pragma_application_id),"
                          " (SELECT user_version FROM pragma_user_version),"
                          " (SELECT count(*) FROM sqlite_schema WHERE name IN"
                          "  ('registry_keys','registry_values')),"
                          " (SELECT count(*) FROM sqlite_schema)");
    if (!check.Prepared()) {
        return StatusFromSqlite(check.ResultCode());
    }
    const int rc = check.Step();
    if (rc != SQLITE_ROW) {
        return StatusFromSqlite(rc);
    }
    const std::int64_t application_id = check.ColumnInt(0);
    const std::int64_t tables = check.ColumnInt(2);
    const std::int64_t objects = check.ColumnInt(3);
    if (application_id == 0 && objects == 0) {
        schema_present_ = false;  // an empty file: the first write lays out the tables
        return ERROR_SUCCESS;
    }
    if (application_id != kRegistryApplicationId) {
        return Refuse(ERROR_BADDB,
                      "not a zovcfg registry (foreign SQLite database); it was left untouched");
    }
    if (tables != 2) {
        return Refuse(ERROR_BADDB,
                      "the registry is damaged (tables missing); it was left untouched");
    }
    SqliteStatement root(db_, "SELECT count(*) FROM registry_keys WHERE id = ?1 AND parent = 0");
    if (!root.Prepared()) {
        return StatusFromSqlite(root.ResultCode());
    }
    root.BindInt(1, kRootKeyId);
    const int root_rc = root.Step();
    if (root_rc != SQLITE_ROW) {
        return StatusFromSqlite(root_rc);
    }
    if (root.ColumnInt(0) != 1) {
        return Refuse(ERROR_BADDB, "the registry is damaged (no root key); it was left untouched");
    }
    schema_present_ = true;
    return ERROR_SUCCESS;
}

LSTATUS RegistryConnection::OpenDatabase(int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(Path().c_str(), &db,
                                   flags | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE, nullptr);
    db_ = db;
    owner_pid_ = process_id_;
    ReloadWriteFaultPlan();
    read_only_ = (flags & SQLITE_OPEN_READONLY) != 0;
    if (rc != SQLITE_OK) {
        const LSTATUS status = StatusFromSqlite(rc);
        Release();
        return status;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    // A new file is laid out in rollback-journal mode, which users who may only read can read.
    sqlite3_exec(db_,
                 (flags & SQLITE_OPEN_CREATE) != 0
                     ? "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; "
                       "PRAGMA cell_size_check=ON"
                     : "PRAGMA synchronous=FULL; PRAGMA cell_size_check=ON",
                 nullptr, nullptr, nullptr);
    return ERROR_SUCCESS;
}

LSTATUS RegistryConnection::OpenExisting(bool for_writing) {
    bool empty_file = false;
    LSTATUS status = CheckHeader(&empty_file);
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
    status = CheckSchema();
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
    // Inside a transaction of the caller a savepoint keeps the layout with it; alone, an
    // immediate transaction keeps two processes from laying it out twice.
    const bool nested = sqlite3_get_autocommit(db_) == 0;
    int rc = sqlite3_exec(db_, nested ? "SAVEPOINT registry_layout" : "BEGIN IMMEDIATE", nullptr,
                          nullptr, nullptr);
    if (rc != SQLITE_OK) {
        return StatusFromSqlite(rc);
    }
    SqliteStatement check(db_, "SELECT count(*) FROM sqlite_schema");
    rc = check.Prepared() ? check.Step() : check.ResultCode();
    const bool already = rc == SQLITE_ROW && check.ColumnInt(0) > 0;
    const char* undo = nested ? "ROLLBACK TO registry_layout; RELEASE registry_layout" : "ROLLBACK";
    if (rc != SQLITE_ROW) {
        sqlite3_exec(db_, undo, nullptr, nullptr, nullptr);
        return StatusFromSqlite(rc);
    }
    if (!already) {
        const std::string layout = FormatText(
            "%s"
            "INSERT INTO registry_keys(id, parent, name, folded, last_write)"
            " VALUES(%lld, 0, x'', x'', 0);"
            "PRAGMA application_id=%d; PRAGMA user_version=%d;",
            kRegistrySchemaSql, static_cast<long long>(kRootKeyId), kRegistryApplicationId,
            kRegistrySchemaVersion);
        rc = ExecuteWriteSql(db_, layout.c_str());
        if (rc != SQLITE_OK) {
            const LSTATUS status = StatusFromSqlite(rc);
            sqlite3_exec(db_, undo, nullptr, nullptr, nullptr);
            return status;
        }
    }
    rc = nested ? sqlite3_exec(db_, "RELEASE registry_layout", nullptr, nullptr, nullptr)
                : ExecuteWriteSql(db_, "COMMIT");
    if (rc != SQLITE_OK) {
        const LSTATUS status = StatusFromSqlite(rc);
        sqlite3_exec(db_, undo, nullptr, nullptr, nullptr);
        return status;
    }
    if (already) {
        // Another process laid it out in the meantime: check it as any existing file.
        return CheckSchema();
    }
    schema_present_ = true;
    return ERROR_SUCCESS;
}

LSTATUS RegistryConnection::CreateMissing() {
    LSTATUS status = CheckFilePermissions(true);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    const std::string dir = DirectoryOf(Path());
    const int error = MakeDirectories(dir);
    if (error != 0) {
        return Refuse(
            error == ENOENT ? static_cast<LSTATUS>(ERROR_PATH_NOT_FOUND) : StatusFromErrno(error),
            FormatText("cannot create the directory %s (%s)", dir.c_str(), std::strerror(error)));
    }
    status = OpenDatabase(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = InitializeSchema();
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
                return Refuse(StatusFromErrno(error), std::strerror(error));
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
