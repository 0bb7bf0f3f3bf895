// The text that `zovreg query` prints, laid out like the Windows console tool's:
//
//   HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\ZOVCOM\Parameters\Card1
//       ZOVBaseAddress    REG_DWORD    0x2a0
//
// Names and data pass through Printable, so nothing the registry holds reaches the terminal raw.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/registry/key_tree_walk.h"
#include "platform/win32/registry.h"

namespace zov::reg {

// "REG_DWORD" and the like; "0x%x" for a type without a name.
std::string RegistryTypeName(DWORD type);

// A value's data as one line of text: strings up to their terminating zero, multi-strings with
// "\0" between the parts, numbers as 0x... in lower case, anything else as upper-case hex.
std::string DisplayData(DWORD type, std::string_view data);

// Prints the keys of a walk as they come. With recursive, every key with its values, each block
// after a blank line; without, the key with its values, then the full names of its subkeys.
class QueryPrinter : public KeyTreeVisitor {
  public:
    // base is the walked key's path below HKEY_LOCAL_MACHINE.
    QueryPrinter(std::ostream& out, std::string base, bool recursive)
        : out_(out), base_(std::move(base)), recursive_(recursive) {}

    LSTATUS OnKey(std::string_view path, std::size_t depth) override;
    LSTATUS OnValue(std::string_view name, DWORD type, const BYTE* data, std::size_t size) override;

  private:
    std::ostream& out_;
    std::string base_;
    bool recursive_;
    bool listed_subkey_ = false;
};

}  // namespace zov::reg
