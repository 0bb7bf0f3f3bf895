// A key with its values and whole subtree, as saved to and restored from a saved-key file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/registry.h"

namespace zov {

struct RegistryValue {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;

    bool operator==(const RegistryValue&) const = default;
};

struct KeyTree {
    std::string name;
    std::vector<RegistryValue> values;  // in enumeration order
    std::vector<KeyTree> subkeys;       // in enumeration order

    bool operator==(const KeyTree&) const = default;
};

}  // namespace zov
