#include "platform/security/token_table.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace zov {
namespace {

struct Table {
    std::mutex mutex;
    // Handle values are multiples of 4 as on Windows, start well above 0 and are never reused.
    std::uintptr_t next_value = 0x1000;
    std::unordered_map<std::uintptr_t, std::shared_ptr<const Token>> tokens;
};

Table& TheTable() {
    // Leaked on purpose: handles may still be closed by static destructors at exit.
    static auto* table = new Table;
    return *table;
}

}  // namespace

HANDLE TokenTable::Insert(std::shared_ptr<const Token> token) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    const std::uintptr_t value = table.next_value;
    table.tokens.emplace(value, std::move(token));
    table.next_value += 4;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): handles are numbers, never dereferenced.
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<const Token> TokenTable::Find(HANDLE handle) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    const auto found = table.tokens.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == table.tokens.end() ? nullptr : found->second;
}

bool TokenTable::Erase(HANDLE handle) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    return table.tokens.erase(reinterpret_cast<std::uintptr_t>(handle)) == 1;
}

}  // namespace zov
