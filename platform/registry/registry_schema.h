// The layout of the registry database: tables, indexes and the marks that say the file is ours.
#pragma once

#include <cstdint>

namespace zov {

// PRAGMA application_id of a registry database: "ZOVR".
inline constexpr std::int32_t kRegistryApplicationId = 0x5A4F5652;
// PRAGMA user_version of the layout below. Version 2 folds names by the rule of key_name.h;
// version 1, the same tables, folded ASCII letters only and is upgraded when opened for writing.
inline constexpr std::int32_t kRegistrySchemaVersion = 2;
// The key that HKEY_LOCAL_MACHINE stands for.
inline constexpr std::int64_t kRootKeyId = 1;

// Keys keep their name as given and the upper-cased form that lookups and ordering use. Ids
// come from AUTOINCREMENT so that a deleted key's id is never given to another key: handles
// remember keys by id. Values keep their first-set position for enumeration.
inline constexpr const char* kRegistrySchemaSql =
    "CREATE TABLE registry_keys("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " parent INTEGER NOT NULL,"
    " name BLOB NOT NULL,"
    " folded BLOB NOT NULL,"
    " last_write INTEGER NOT NULL);"
    "CREATE UNIQUE INDEX registry_keys_by_name ON registry_keys(parent, folded);"
    "CREATE TABLE registry_values("
    " key INTEGER NOT NULL,"
    " folded BLOB NOT NULL,"
    " name BLOB NOT NULL,"
    " position INTEGER NOT NULL,"
    " type INTEGER NOT NULL,"
    " data BLOB NOT NULL);"
    "CREATE UNIQUE INDEX registry_values_by_name ON registry_values(key, folded);"
    "CREATE INDEX registry_values_by_position ON registry_values(key, position);";

}  // namespace zov
