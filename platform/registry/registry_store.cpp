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

}  // namespace

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
    if (!query.Prepared()) {
        return Fail(query.ResultCode());
    }
    query.BindInt(1, key);
    const int rc = query.Step();
    if (rc == SQLITE_DONE) {
        return ERROR_KEY_DELETED;
    }
    return rc == SQLITE_ROW ? static_cast<LSTATUS>(ERROR_SUCCESS) : Fail(rc);
}

LSTATUS RegistryStore::FindSubkey(std::int64_t parent, std::string_view name, std::int64_t* key) {
    SqliteStatement query(db_, queries::kFindSubkey);
    if (!query.Prepared()) {
        return Fail(query.ResultCode());
    }
    query.BindInt(1, parent);
    query.BindBlob(2, FoldName(name));
    const int rc = query.Step();
    if (rc == SQLITE_DONE) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (rc != SQLITE_ROW) {
        return Fail(rc);
    }
    *key = query.ColumnInt(0);
    return ERROR_SUCCESS;
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
    SqliteStatement update(db_, queries::kTouchKey);
    if (!update.Prepared()) {
        return Fail(update.ResultCode());
    }
    update.BindInt(1, key);
    update.BindInt(2, CurrentFileTime());
    const int rc = ExecuteWrite(update.Get());
    return rc == SQLITE_DONE ? static_cast<LSTATUS>(ERROR_SUCCESS) : Fail(rc);
}

LSTATUS RegistryStore::CreateSubkey(std::int64_t parent, std::string_view name, std::int64_t* key) {
    SqliteStatement insert(db_, queries::kInsertKey);
    if (!insert.Prepared()) {
        return Fail(insert.ResultCode());
    }
    insert.BindInt(1, parent);
    insert.BindBlob(2, name);
    insert.BindBlob(3, FoldName(name));
    insert.BindInt(4, CurrentFileTime());
    const int rc = ExecuteWrite(insert.Get());
    if (rc != SQLITE_DONE) {
        return Fail(rc);
    }
    *key = sqlite3_last_insert_rowid(db_);
    return Touch(parent);
}

LSTATUS RegistryStore::HasSubkeys(std::int64_t key, bool* any) {
    SqliteStatement query(db_, queries::kAnySubkey);
    if (!query.Prepared()) {
        return Fail(query.ResultCode());
    }
    query.BindInt(1, key);
    const int rc = query.Step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        return Fail(rc);
    }
    *any = rc == SQLITE_ROW;
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::SubkeyAt(std::int64_t key, std::uint64_t index, std::string* name,
                                std::int64_t* last_write) {
    SqliteStatement query(db_, queries::kSubkeyAt);
    if (!query.Prepared()) {
        return Fail(query.ResultCode());
    }
    query.BindInt(1, key);
    query.BindInt(2, static_cast<std::int64_t>(index));
    const int rc = query.Step();
    if (rc == SQLITE_DONE) {
        return ERROR_NO_MORE_ITEMS;
    }
    if (rc != SQLITE_ROW) {
        return Fail(rc);
    }
    *name = query.ColumnText(0);
    *last_write = query.ColumnInt(1);
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::DeleteKey(std::int64_t key) {
    SqliteStatement parent_query(db_, queries::kParentOf);
    if (!parent_query.Prepared()) {
        return Fail(parent_query.ResultCode());
    }
    parent_query.BindInt(1, key);
    int rc = parent_query.Step();
    if (rc == SQLITE_DONE) {
        return ERROR_KEY_DELETED;
    }
    if (rc != SQLITE_ROW) {
        return Fail(rc);
    }
    const std::int64_t parent = parent_query.ColumnInt(0);
    SqliteStatement values(db_, queries::kDeleteKeyValues);
    SqliteStatement row(db_, queries::kDeleteKeyRow);
    if (!values.Prepared() || !row.Prepared()) {
        return Fail(values.Prepared() ? row.ResultCode() : values.ResultCode());
    }
    values.BindInt(1, key);
    rc = ExecuteWrite(values.Get());
    if (rc != SQLITE_DONE) {
        return Fail(rc);
    }
    row.BindInt(1, key);
    rc = ExecuteWrite(row.Get());
    if (rc != SQLITE_DONE) {
        return Fail(rc);
    }
    return Touch(parent);
}

LSTATUS RegistryStore::GetValue(std::int64_t key, std::string_view name, RegistryValue* value) {
    SqliteStatement query(db_, queries::kGetValue);
    if (!query.Prepared()) {
        return Fail(query.ResultCode());
    }
    query.BindInt(1, key);
    query.BindBlob(2, FoldName(name));
    const int rc = query.Step();
    if (rc == SQLITE_DONE) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (rc != SQLITE_ROW) {
        return Fail(rc);
    }
    value->name = query.ColumnText(0);
    value->type = static_cast<DWORD>(query.ColumnInt(1));
    value->data = query.ColumnBytes(2);
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::ValueAt(std::int64_t key, std::uint64_t index, RegistryValue* value) {
    SqliteStatement query(db_, queries::kValueAt);
    if (!query.Prepared()) {
        return Fail(query.ResultCode());
    }
    query.BindInt(1, key);
    query.BindInt(2, static_cast<std::int64_t>(index));
    const int rc = query.Step();
    if (rc == SQLITE_DONE) {
        return ERROR_NO_MORE_ITEMS;
    }
    if (rc != SQLITE_ROW) {
        return Fail(rc);
    }
    value->name = query.ColumnText(0);
    value->type = static_cast<DWORD>(query.ColumnInt(1));
    value->data = query.ColumnBytes(2);
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::SetValue(std::int64_t key, std::string_view name, DWORD type,
                                const BYTE* data, std::size_t size) {
    SqliteStatement upsert(db_, queries::kSetValue);
    if (!upsert.Prepared()) {
        return Fail(upsert.ResultCode());
    }
    upsert.BindInt(1, key);
    upsert.BindBlob(2, FoldName(name));
    upsert.BindBlob(3, name);
    upsert.BindInt(4, type);
    upsert.BindBlob(5, std::string_view(reinterpret_cast<const char*>(data), size));
    const int rc = ExecuteWrite(upsert.Get());
    if (rc != SQLITE_DONE) {
        return Fail(rc);
    }
    return Touch(key);
}

LSTATUS RegistryStore::DeleteValue(std::int64_t key, std::string_view name) {
    SqliteStatement remove(db_, queries::kDeleteValue);
    if (!remove.Prepared()) {
        return Fail(remove.ResultCode());
    }
    remove.BindInt(1, key);
    remove.BindBlob(2, FoldName(name));
    const int rc = ExecuteWrite(remove.Get());
    if (rc != SQLITE_DONE) {
        return Fail(rc);
    }
    if (sqlite3_changes(db_) == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    return Touch(key);
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
            tree->values.push_back(RegistryValue{values.ColumnText(0),
                                                 static_cast<DWORD>(values.ColumnInt(1)),
                                                 values.ColumnBytes(2)});
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
    for (const char* sql : {queries::kClearSubtreeValues, queries::kClearSubtreeKeys}) {
        SqliteStatement remove(db_, sql);
        if (!remove.Prepared()) {
            return Fail(remove.ResultCode());
        }
        remove.BindInt(1, key);
        const int rc = ExecuteWrite(remove.Get());
        if (rc != SQLITE_DONE) {
            return Fail(rc);
        }
    }
    return ERROR_SUCCESS;
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
