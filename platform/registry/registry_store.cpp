#include "platform/registry/registry_store.h"

#include <chrono>

#include "platform/registry/key_name.h"
#include "platform/registry/registry_connection.h"
#include "platform/registry/registry_queries.h"
#include "platform/registry/sqlite_statement.h"
#include "platform/registry/write_gate.h"

namespace zov {
namespace {

// Seconds between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kFileTimeEpochOffsetSeconds = 11644473600LL;

// A value from a row of name, type, data.
RegistryValue ValueOfRow(const SqliteStatement& row) {
    return RegistryValue{row.ColumnText(0), static_cast<DWORD>(row.ColumnInt(1)),
                         row.ColumnBytes(2)};
}

void Bind(SqliteStatement& statement, int index, std::int64_t number) {
    statement.BindInt(index, number);
}

void Bind(SqliteStatement& statement, int index, std::string_view bytes) {
    statement.BindBlob(index, bytes);
}

// Prepares sql and binds args to ?1, ?2... in order; Prepared() tells whether it worked.
template <typename... Args>
void PrepareWith(SqliteStatement& statement, const Args&... args) {
    if (statement.Prepared()) {
        int index = 0;
        (Bind(statement, ++index, args), ...);
    }
}

}  // namespace

template <typename... Args>
LSTATUS RegistryStore::Change(const char* sql, const Args&... args) {
    SqliteStatement statement(db_, sql);
    if (!statement.Prepared()) {
        return Fail(statement.ResultCode());
    }
    PrepareWith(statement, args...);
    const int rc = ExecuteWrite(statement.Get());
    return rc == SQLITE_DONE ? static_cast<LSTATUS>(ERROR_SUCCESS) : Fail(rc);
}

template <typename... Args>
LSTATUS RegistryStore::FirstRow(SqliteStatement& query, LSTATUS none, const Args&... args) {
    if (!query.Prepared()) {
        return Fail(query.ResultCode());
    }
    PrepareWith(query, args...);
    const int rc = query.Step();
    if (rc == SQLITE_DONE) {
        return none;
    }
    return rc == SQLITE_ROW ? static_cast<LSTATUS>(ERROR_SUCCESS) : Fail(rc);
}

std::int64_t CurrentFileTime() {
    const auto since_1970 = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return (since_1970.count() + kFileTimeEpochOffsetSeconds * 1000000LL) * 10;
}

LSTATUS RegistryStore::Fail(int rc) {
    return RegistryConnection::Instance().StatusFromSqlite(rc);
}

LSTATUS RegistryStore::CheckKeyAlive(std::int64_t key) {
    SqliteStatement query(db_, queries::kKeyAlive);
    return FirstRow(query, ERROR_KEY_DELETED, key);
}

LSTATUS RegistryStore::FindSubkey(std::int64_t parent, std::string_view name, std::int64_t* key) {
    SqliteStatement query(db_, queries::kFindSubkey);
    const LSTATUS status = FirstRow(query, ERROR_FILE_NOT_FOUND, parent, FoldName(name));
    if (status == ERROR_SUCCESS) {
        *key = query.ColumnInt(0);
    }
    return status;
}

LSTATUS RegistryStore::FindPath(std::int64_t key, const std::vector<std::string>& names,
                                std::int64_t* found) {
    std::int64_t current = key;
    for (const std::string& name : names) {
        const LSTATUS status = FindSubkey(current, name, &current);
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    *found = current;
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::Touch(std::int64_t key) {
    return Change(queries::kTouchKey, key, CurrentFileTime());
}

LSTATUS RegistryStore::CreateSubkey(std::int64_t parent, std::string_view name, std::int64_t* key) {
    const LSTATUS status =
        Change(queries::kInsertKey, parent, name, FoldName(name), CurrentFileTime());
    if (status != ERROR_SUCCESS) {
        return status;
    }
    *key = sqlite3_last_insert_rowid(db_);
    return Touch(parent);
}

LSTATUS RegistryStore::HasSubkeys(std::int64_t key, bool* any) {
    SqliteStatement query(db_, queries::kAnySubkey);
    const LSTATUS status = FirstRow(query, ERROR_NO_MORE_ITEMS, key);
    *any = status == ERROR_SUCCESS;
    return status == ERROR_NO_MORE_ITEMS ? static_cast<LSTATUS>(ERROR_SUCCESS) : status;
}

LSTATUS RegistryStore::SubkeyAt(std::int64_t key, std::uint64_t index, std::string* name,
                                std::int64_t* last_write) {
    SqliteStatement query(db_, queries::kSubkeyAt);
    const LSTATUS status =
        FirstRow(query, ERROR_NO_MORE_ITEMS, key, static_cast<std::int64_t>(index));
    if (status == ERROR_SUCCESS) {
        *name = query.ColumnText(0);
        *last_write = query.ColumnInt(1);
    }
    return status;
}

LSTATUS RegistryStore::DeleteKey(std::int64_t key) {
    SqliteStatement parent_query(db_, queries::kParentOf);
    LSTATUS status = FirstRow(parent_query, ERROR_KEY_DELETED, key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    const std::int64_t parent = parent_query.ColumnInt(0);
    status = Change(queries::kDeleteKeyValues, key);
    if (status == ERROR_SUCCESS) {
        status = Change(queries::kDeleteKeyRow, key);
    }
    return status == ERROR_SUCCESS ? Touch(parent) : status;
}

LSTATUS RegistryStore::GetValue(std::int64_t key, std::string_view name, RegistryValue* value) {
    SqliteStatement query(db_, queries::kGetValue);
    const LSTATUS status = FirstRow(query, ERROR_FILE_NOT_FOUND, key, FoldName(name));
    if (status == ERROR_SUCCESS) {
        *value = ValueOfRow(query);
    }
    return status;
}

LSTATUS RegistryStore::ValueAt(std::int64_t key, std::uint64_t index, RegistryValue* value) {
    SqliteStatement query(db_, queries::kValueAt);
    const LSTATUS status =
        FirstRow(query, ERROR_NO_MORE_ITEMS, key, static_cast<std::int64_t>(index));
    if (status == ERROR_SUCCESS) {
        *value = ValueOfRow(query);
    }
    return status;
}

LSTATUS RegistryStore::SetValue(std::int64_t key, std::string_view name, DWORD type,
                                const BYTE* data, std::size_t size) {
    const LSTATUS status =
        Change(queries::kSetValue, key, FoldName(name), name, static_cast<std::int64_t>(type),
               std::string_view(reinterpret_cast<const char*>(data), size));
    return status == ERROR_SUCCESS ? Touch(key) : status;
}

LSTATUS RegistryStore::DeleteValue(std::int64_t key, std::string_view name) {
    const LSTATUS status = Change(queries::kDeleteValue, key, FoldName(name));
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return sqlite3_changes(db_) == 0 ? static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND) : Touch(key);
}

LSTATUS RegistryStore::LoadTree(std::int64_t key, KeyTree* tree) {
    *tree = KeyTree{};
    return LoadTreeAt(key, 0, tree);
}

LSTATUS RegistryStore::LoadTreeAt(std::int64_t key, std::size_t depth, KeyTree* tree) {
    if (depth > kMaxKeyDepth) {
        return ERROR_REGISTRY_CORRUPT;  // a loop of keys: the tables are damaged
    }
    {
        SqliteStatement values(db_, queries::kValuesOfKey);
        if (!values.Prepared()) {
            return Fail(values.ResultCode());
        }
        values.BindInt(1, key);
        int rc = SQLITE_ROW;
        while ((rc = values.Step()) == SQLITE_ROW) {
            tree->values.push_back(ValueOfRow(values));
        }
        if (rc != SQLITE_DONE) {
            return Fail(rc);
        }
    }
    std::vector<std::int64_t> children;
    {
        SqliteStatement subkeys(db_, queries::kSubkeysOfKey);
        if (!subkeys.Prepared()) {
            return Fail(subkeys.ResultCode());
        }
        subkeys.BindInt(1, key);
        int rc = SQLITE_ROW;
        while ((rc = subkeys.Step()) == SQLITE_ROW) {
            children.push_back(subkeys.ColumnInt(0));
            tree->subkeys.push_back(KeyTree{subkeys.ColumnText(1), {}, {}});
        }
        if (rc != SQLITE_DONE) {
            return Fail(rc);
        }
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        const LSTATUS status = LoadTreeAt(children[i], depth + 1, &tree->subkeys[i]);
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::ClearKey(std::int64_t key) {
    const LSTATUS status = Change(queries::kClearSubtreeValues, key);
    return status == ERROR_SUCCESS ? Change(queries::kClearSubtreeKeys, key) : status;
}

LSTATUS RegistryStore::DeleteTree(std::int64_t key, bool keep_key) {
    SqliteStatement deep(db_, queries::kSubtreeDeeperThan);
    LSTATUS status =
        FirstRow(deep, ERROR_NO_MORE_ITEMS, key, static_cast<std::int64_t>(kMaxKeyDepth) + 1);
    if (status == ERROR_SUCCESS) {
        return ERROR_REGISTRY_CORRUPT;  // found a key that deep
    }
    if (status != ERROR_NO_MORE_ITEMS) {
        return status;
    }
    status = ClearKey(key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return keep_key ? Touch(key) : DeleteKey(key);
}

LSTATUS RegistryStore::StoreTree(std::int64_t key, const KeyTree& tree) {
    const LSTATUS status = StoreTreeAt(key, tree, 0);
    return status != ERROR_SUCCESS ? status : Touch(key);
}

LSTATUS RegistryStore::StoreTreeAt(std::int64_t key, const KeyTree& tree, std::size_t depth) {
    if (depth > kMaxKeyDepth) {
        return ERROR_REGISTRY_CORRUPT;
    }
    for (const RegistryValue& value : tree.values) {
        const LSTATUS status =
            SetValue(key, value.name, value.type, value.data.data(), value.data.size());
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    for (const KeyTree& subkey : tree.subkeys) {
        std::int64_t child = 0;
        LSTATUS status = CreateSubkey(key, subkey.name, &child);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        status = StoreTreeAt(child, subkey, depth + 1);
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    return ERROR_SUCCESS;
}

}  // namespace zov
