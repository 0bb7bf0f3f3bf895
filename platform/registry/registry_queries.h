// The statements the registry runs on its tables. Each is answered through an index, so that a
// call costs the same with a handful of keys as with a million unrelated ones; the tests check
// every statement listed in kAllQueries against SQLite's query plan.
#pragma once

#include <array>

namespace zov::queries {

inline constexpr const char* kKeyAlive = "SELECT 1 FROM registry_keys WHERE id = ?1";
inline constexpr const char* kFindSubkey =
    "SELECT id FROM registry_keys WHERE parent = ?1 AND folded = ?2";
inline constexpr const char* kTouchKey = "UPDATE registry_keys SET last_write = ?2 WHERE id = ?1";
inline constexpr const char* kInsertKey =
    "INSERT INTO registry_keys(parent, name, folded, last_write) VALUES(?1, ?2, ?3, ?4)";
inline constexpr const char* kAnySubkey = "SELECT 1 FROM registry_keys WHERE parent = ?1 LIMIT 1";
inline constexpr const char* kSubkeyAt =
    "SELECT name, last_write FROM registry_keys WHERE parent = ?1"
    " ORDER BY folded LIMIT 1 OFFSET ?2";
inline constexpr const char* kParentOf = "SELECT parent FROM registry_keys WHERE id = ?1";
inline constexpr const char* kDeleteKeyValues = "DELETE FROM registry_values WHERE key = ?1";
inline constexpr const char* kDeleteKeyRow = "DELETE FROM registry_keys WHERE id = ?1";
inline constexpr const char* kGetValue =
    "SELECT name, type, data FROM registry_values WHERE key = ?1 AND folded = ?2";
inline constexpr const char* kValueAt =
    "SELECT name, type, data FROM registry_values WHERE key = ?1"
    " ORDER BY position LIMIT 1 OFFSET ?2";
inline constexpr const char* kSetValue =
    "INSERT INTO registry_values(key, folded, name, position, type, data)"
    " VALUES(?1, ?2, ?3,"
    "  (SELECT coalesce(max(position), 0) + 1 FROM registry_values WHERE key = ?1), ?4, ?5)"
    " ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data";
inline constexpr const char* kDeleteValue =
    "DELETE FROM registry_values WHERE key = ?1 AND folded = ?2";
inline constexpr const char* kValuesOfKey =
    "SELECT name, type, data FROM registry_values WHERE key = ?1 ORDER BY position";
inline constexpr const char* kSubkeysOfKey =
    "SELECT id, name FROM registry_keys WHERE parent = ?1 ORDER BY folded";
// Every value and key below ?1, through a recursive walk over the parent index.
inline constexpr const char* kClearSubtreeValues =
    "WITH RECURSIVE below(id) AS ("
    " SELECT id FROM registry_keys WHERE parent = ?1"
    " UNION ALL SELECT k.id FROM registry_keys k JOIN below b ON k.parent = b.id)"
    " DELETE FROM registry_values WHERE key = ?1 OR key IN (SELECT id FROM below)";
inline constexpr const char* kClearSubtreeKeys =
    "WITH RECURSIVE below(id) AS ("
    " SELECT id FROM registry_keys WHERE parent = ?1"
    " UNION ALL SELECT k.id FROM registry_keys k JOIN below b ON k.parent = b.id)"
    " DELETE FROM registry_keys WHERE id IN (SELECT id FROM below)";

// A key ?2 levels or more below ?1 (a tree too deep to take apart, or a loop of damaged rows); the
// walk stops there, so it ends on a loop too.
inline constexpr const char* kSubtreeDeeperThan =
    "WITH RECURSIVE below(id, depth) AS ("
    " SELECT id, 1 FROM registry_keys WHERE parent = ?1"
    " UNION ALL SELECT k.id, b.depth + 1 FROM registry_keys k JOIN below b ON k.parent = b.id"
    "  WHERE b.depth < ?2)"
    " SELECT 1 FROM below WHERE depth >= ?2 LIMIT 1";

inline constexpr std::array kAllQueries = {
    kKeyAlive,         kFindSubkey,       kTouchKey,     kInsertKey,
    kAnySubkey,        kSubkeyAt,         kParentOf,     kDeleteKeyValues,
    kDeleteKeyRow,     kGetValue,         kValueAt,      kSetValue,
    kDeleteValue,      kValuesOfKey,      kSubkeysOfKey, kClearSubtreeValues,
    kClearSubtreeKeys, kSubtreeDeeperThan};

}  // namespace zov::queries
