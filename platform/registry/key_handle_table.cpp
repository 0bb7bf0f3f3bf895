#include "platform/registry/key_handle_table.h"

namespace zov {
namespace {

// Handles are 0x10000 + 4n: never null, never a predefined key (those are 0x8000000x sign
// extended), and never reused within the process, so a stale copy cannot reach a new key.
constexpr std::uintptr_t kFirstHandle = 0x10000;
constexpr std::uintptr_t kHandleStep = 4;

}  // namespace

KeyHandleTable& KeyHandleTable::Instance() {
    static auto* table = new KeyHandleTable();
    return *table;
}

HKEY KeyHandleTable::Add(const KeyHandleEntry& entry) {
    const std::uintptr_t value = kFirstHandle + kHandleStep * next_++;
    entries_[value] = entry;
    return reinterpret_cast<HKEY>(value);
}

bool KeyHandleTable::Find(HKEY handle, KeyHandleEntry* entry) const {
    const auto found = entries_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == entries_.end()) {
        return false;
    }
    *entry = found->second;
    return true;
}

bool KeyHandleTable::Remove(HKEY handle) {
    return entries_.erase(reinterpret_cast<std::uintptr_t>(handle)) == 1;
}

}  // namespace zov
