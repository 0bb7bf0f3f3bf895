// The registry's keys and values in the database tables. Every function runs inside a
// RegistryCall on a connection that has the tables, and answers with a Win32 status; failures of
// SQLite go through RegistryConnection::StatusFromSqlite.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/key_tree.h"
#include "platform/win32/base.h"

namespace zov {

class SqliteStatement;

class RegistryStore {
  public:
    explicit RegistryStore(sqlite3* db) : db_(db) {}

    // ERROR_SUCCESS when the key exists, ERROR_KEY_DELETED when it does not any more.
    LSTATUS CheckKeyAlive(std::int64_t key);

    // The subkey of parent with that name (any case): ERROR_FILE_NOT_FOUND when missing.
    LSTATUS FindSubkey(std::int64_t parent, std::string_view name, std::int64_t* key);
    // Walks a path of names from key: ERROR_FILE_NOT_FOUND when one is missing.
    LSTATUS FindPath(std::int64_t key, const std::vector<std::string>& names, std::int64_t* found);
    LSTATUS CreateSubkey(std::int64_t parent, std::string_view name, std::int64_t* key);

    LSTATUS HasSubkeys(std::int64_t key, bool* any);
    // The index-th subkey in upper-cased order: ERROR_NO_MORE_ITEMS past the last.
    LSTATUS SubkeyAt(std::int64_t key, std::uint64_t index, std::string* name,
                     std::int64_t* last_write);
    // Deletes a key that has no subkeys, with its values.
    LSTATUS DeleteKey(std::int64_t key);

    LSTATUS GetValue(std::int64_t key, std::string_view name, RegistryValue* value);
    // The index-th value in the order first set: ERROR_NO_MORE_ITEMS past the last.
    LSTATUS ValueAt(std::int64_t key, std::uint64_t index, RegistryValue* value);
    // Creates the value, or replaces type and data keeping its name and position.
    LSTATUS SetValue(std::int64_t key, std::string_view name, DWORD type, const BYTE* data,
                     std::size_t size);
    LSTATUS DeleteValue(std::int64_t key, std::string_view name);

    // Reads key with its values and subtree (the key's own name is left empty).
    LSTATUS LoadTree(std::int64_t key, KeyTree* tree);
    // Removes every value and subkey of key (the key itself stays).
    LSTATUS ClearKey(std::int64_t key);
    // Deletes key's values and whole subtree, and key itself unless keep_key. A subtree deeper
    // than kMaxKeyDepth below key is ERROR_REGISTRY_CORRUPT, with nothing deleted.
    LSTATUS DeleteTree(std::int64_t key, bool keep_key);
    // Adds tree's values and subkeys to key, which must be empty.
    LSTATUS StoreTree(std::int64_t key, const KeyTree& tree);

  private:
    LSTATUS Fail(int rc);
    // Runs a statement that changes the tables, with args bound to ?1, ?2...
    template <typename... Args>
    LSTATUS Change(const char* sql, const Args&... args);
    // Binds args and steps query to its first row: ERROR_SUCCESS on a row, none without one.
    template <typename... Args>
    LSTATUS FirstRow(SqliteStatement& query, LSTATUS none, const Args&... args);
    LSTATUS Touch(std::int64_t key);
    LSTATUS LoadTreeAt(std::int64_t key, std::size_t depth, KeyTree* tree);
    LSTATUS StoreTreeAt(std::int64_t key, const KeyTree& tree, std::size_t depth);

    sqlite3* db_;
};

// Now, as a Windows FILETIME value (100-nanosecond steps since 1601-01-01 UTC).
std::int64_t CurrentFileTime();

}  // namespace zov
