// A prepared SQLite statement that finalizes itself, with typed binding and column access.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zov {

class SqliteStatement {
  public:
    // Prepares sql on db; Prepared() tells whether it worked, ResultCode() why not.
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
};

}  // namespace zov
