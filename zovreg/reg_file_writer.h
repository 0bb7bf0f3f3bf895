// Writes a key with its subtree as a .reg file, as regedit writes one: keys in enumeration order,
// each with its values in their order, long hex data wrapped with trailing backslashes. The same
// snapshot always gives the same bytes, so exports diff well.
#pragma once

#include <string>

#include "zovreg/key_snapshot.h"
#include "zovreg/reg_file_format.h"

namespace zov::reg {

// *bytes receives the whole file: for kRegedit5 UTF-16LE with a byte-order mark, for kRegedit4
// 8-bit text; CRLF line ends in both. False with *error when a key or value name holds a line
// break, which no .reg file can carry.
bool WriteRegFile(const KeySnapshot& root, RegFileFormat format, std::string* bytes,
                  std::string* error);

}  // namespace zov::reg
