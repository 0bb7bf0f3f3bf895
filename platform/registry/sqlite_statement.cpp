#include "platform/registry/sqlite_statement.h"

namespace zov {
namespace {

struct KeptStatement {
    sqlite3* db;
    const char* sql;  // found by address first, since the callers' SQL texts are constants
    std::string text;
    sqlite3_stmt* statement;
    bool in_use;
};

// Few distinct queries exist, so a short list searched in order is enough. Callers hold the
// registry mutex, which serialises every use.
std::vector<KeptStatement>& KeptStatements() {
    static auto* kept = new std::vector<KeptStatement>();  // never destroyed, as the connection
    return *kept;
}

}  // namespace

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
    auto& kept = KeptStatements();
    for (KeptStatement& entry : kept) {
        if (entry.db == db && entry.sql == sql && !entry.in_use && entry.text == sql) {
            entry.in_use = true;
            statement_ = entry.statement;
            kept_ = true;
            return;
        }
    }
    prepare_result_ =
        sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
    if (prepare_result_ != SQLITE_OK) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
        return;
    }
    if (statement_ == nullptr) {
        return;  // no statement in sql (only blanks or a comment)
    }
    kept.push_back(KeptStatement{db, sql, sql, statement_, true});
    kept_ = true;
}

SqliteStatement::~SqliteStatement() {
    if (!kept_) {
        sqlite3_finalize(statement_);
        return;
    }
    // Reset at once: a statement left mid-read would keep the database's read lock.
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    for (KeptStatement& entry : KeptStatements()) {
        if (entry.statement == statement_) {
            entry.in_use = false;
            return;
        }
    }
    sqlite3_finalize(statement_);  // its connection was closed while it was in use
}

int ExecuteKeptStatement(sqlite3* db, const char* sql) {
    SqliteStatement statement(db, sql);
    if (!statement.Prepared()) {
        return statement.ResultCode();
    }
    const int rc = statement.Step();
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

void FinalizeKeptStatements(sqlite3* db) {
    auto& kept = KeptStatements();
    std::erase_if(kept, [db](const KeptStatement& entry) {
        if (entry.db != db) {
            return false;
        }
        if (!entry.in_use) {
            sqlite3_finalize(entry.statement);
        }
        return true;
    });
}

void AbandonKeptStatements() {
    KeptStatements().clear();
}

void SqliteStatement::BindInt(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
}

void SqliteStatement::BindBlob(int index, std::string_view bytes) {
    // A zero-length blob, not NULL, for the empty name.
    sqlite3_bind_blob64(statement_, index, bytes.empty() ? "" : bytes.data(), bytes.size(),
                        SQLITE_TRANSIENT);
}

void SqliteStatement::BindBlob(int index, const std::vector<std::uint8_t>& bytes) {
    sqlite3_bind_blob64(statement_, index,
                        bytes.empty() ? static_cast<const void*>("") : bytes.data(), bytes.size(),
                        SQLITE_TRANSIENT);
}

int SqliteStatement::Step() {
    return sqlite3_step(statement_);
}

void SqliteStatement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t SqliteStatement::ColumnInt(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string SqliteStatement::ColumnText(int column) const {
    const void* bytes = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    if (bytes == nullptr || size <= 0) {
        return {};
    }
    return std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

std::vector<std::uint8_t> SqliteStatement::ColumnBytes(int column) const {
    const void* bytes = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    if (bytes == nullptr || size <= 0) {
        return {};
    }
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    return std::vector<std::uint8_t>(first, first + size);
}

}  // namespace zov
