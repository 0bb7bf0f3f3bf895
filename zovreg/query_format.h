// The text that `zovreg query` prints, laid out like the Windows console tool's:
//
//   HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\ZOVCOM\Parameters\Card1
//       ZOVBaseAddress    REG_DWORD    0x2a0
#pragma once

#include <string>

#include "platform/win32/registry.h"
#include "zovreg/key_snapshot.h"

namespace zov::reg {

// "REG_DWORD" and the like; "0x%x" for a type without a name.
std::string RegistryTypeName(DWORD type);

// A value's data as one line of text: strings up to their terminating zero, multi-strings with
// "\0" between the parts, numbers as 0x... in lower case, anything else as upper-case hex.
std::string DisplayData(const ValueSnapshot& value);

// With recursive, every key of the snapshot with its values, each block after a blank line;
// without, the key with its values, then the full names of its subkeys.
std::string FormatQuery(const KeySnapshot& key, bool recursive);

}  // namespace zov::reg
