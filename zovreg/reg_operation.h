// One change that a .reg file asks for, in the order the file gives them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/registry.h"

namespace zov::reg {

struct RegOperation {
    enum class Kind {
        kCreateKey,    // [KEY]: create it with its parents; later values go to it
        kDeleteKey,    // [-KEY]: delete it with its subtree
        kSetValue,     // "name"=data
        kDeleteValue,  // "name"=-
    };
    Kind kind = Kind::kCreateKey;
    int line = 0;            // the line of the file it comes from
    std::string key_path;    // below HKEY_LOCAL_MACHINE, "" for the root itself
    std::string value_name;  // for the value kinds; "" is the default value
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};

}  // namespace zov::reg
