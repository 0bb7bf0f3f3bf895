// A prepared SQLite statement with typed binding and column access. Statements are kept prepared
// per connection and handed out again for the same SQL text, since compiling SQL costs more than
// running these small queries; a statement goes back reset and unbound when its owner ends.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zov {

class SqliteStatement {
  public:
    // Prepares sql on db, or takes the kept statement for it; Prepared() tells whether it
    // worked, ResultCode() why not. sql must be a string that lives as long as the program.
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool Prepared() const { return statement_ != nullptr; }
    int ResultCode() const { return prepare_result_; }
    sqlite3_stmt* Get() const { return statement_; }

    // Parameters are numbered from 1, as SQLite numbers them.
    void BindInt(int index, std::int64_t value);
    void BindBlob(int index, std::string_view bytes);
    void BindBlob(int index, const std::vector<std::uint8_t>& bytes);

    // A read step: SQLITE_ROW, SQLITE_DONE or an error code. Statements that change the database
    // go through ExecuteWrite (write_gate.h) instead.
    int Step();
    void Reset();

    std::int64_t ColumnInt(int column) const;
    std::string ColumnText(int column) const;
    std::vector<std::uint8_t> ColumnBytes(int column) const;

  private:
    sqlite3_stmt* statement_ = nullptr;
    int prepare_result_ = SQLITE_OK;
    bool kept_ = false;  // statement_ belongs to the kept statements of its connection
};

// Runs one statement that returns no rows (SAVEPOINT, RELEASE, BEGIN...) through the kept
// statements; SQLITE_OK when it ran to the end.
int ExecuteKeptStatement(sqlite3* db, const char* sql);

// Finalizes the statements kept for db; call before closing it.
void FinalizeKeptStatements(sqlite3* db);

// Forgets every kept statement without touching it: in a child after fork(), the parent's
// connection must not be used.
void AbandonKeptStatements();

}  // namespace zov
