// The table of live key handles. An HKEY given out by this registry is a number that names an
// entry here, never a pointer: a closed, stale or made-up handle is found missing, not followed.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "platform/win32/registry.h"

namespace zov {

struct KeyHandleEntry {
    std::int64_t key_id = 0;
    REGSAM access = 0;             // the rights the handle was opened with
    std::uint64_t generation = 0;  // RegistryConnection::Generation() when it was opened
};

class KeyHandleTable {
  public:
    // Callers hold the registry mutex.
    static KeyHandleTable& Instance();

    HKEY Add(const KeyHandleEntry& entry);
    // False when handle is not a live handle of this table.
    bool Find(HKEY handle, KeyHandleEntry* entry) const;
    bool Remove(HKEY handle);

  private:
    KeyHandleTable() = default;

    std::unordered_map<std::uintptr_t, KeyHandleEntry> entries_;
    std::uintptr_t next_ = 0;
};

}  // namespace zov
