// Walks a key and its subtree in one read of the registry, handing each key and value to a
// visitor as it goes, so that a caller can write out a registry of any size with memory that does
// not grow with it. Not a Win32 call: RegEnumKeyExA answers one index per call, which costs a
// lookup of the whole list each time.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/win32/registry.h"

namespace zov {

class KeyTreeVisitor {
  public:
    virtual ~KeyTreeVisitor() = default;
    // A key: path is relative to the walked key ("" for that key itself), with the names as the
    // registry stores them, joined by backslashes; depth 0 is the walked key.
    virtual LSTATUS OnKey(std::string_view path, std::size_t depth) = 0;
    // A value of the key last given to OnKey, in enumeration order.
    virtual LSTATUS OnValue(std::string_view name, DWORD type, const BYTE* data,
                            std::size_t size) = 0;
};

// Visits hKey, its values, then each subkey in enumeration order with its whole subtree
// (depth first, as regedit writes a .reg file). Without recursive, the subkeys of hKey come
// without their values or subtrees. The walk is one consistent snapshot. A visitor status other
// than ERROR_SUCCESS stops the walk and is returned. The visitor must not call the registry.
// hKey needs KEY_READ.
LSTATUS WalkKeyTree(HKEY hKey, bool recursive, KeyTreeVisitor& visitor);

}  // namespace zov
