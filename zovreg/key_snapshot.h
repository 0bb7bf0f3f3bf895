// A key of the registry copied into memory with its values and, when asked for, its subkeys:
// what export writes and query prints.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/registry.h"

namespace zov::reg {

struct ValueSnapshot {
    std::string name;  // "" is the key's default value
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};

struct KeySnapshot {
    std::string path;                   // below HKEY_LOCAL_MACHINE, "" for the root itself
    std::vector<ValueSnapshot> values;  // in enumeration order
    std::vector<KeySnapshot> subkeys;   // in enumeration order
};

}  // namespace zov::reg
