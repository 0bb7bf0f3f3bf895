#include "platform/registry/sqlite_statement.h"

namespace zov {

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
    prepare_result_ = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
    if (prepare_result_ != SQLITE_OK) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
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
