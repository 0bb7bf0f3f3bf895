// Reads a .reg file into the changes it asks for, without touching the registry, so that a file
// with any fault is refused before anything is applied.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "zovreg/reg_file_format.h"
#include "zovreg/reg_operation.h"

namespace zov::reg {

struct RegFileContents {
    RegFileFormat format = RegFileFormat::kRegedit5;
    std::vector<RegOperation> operations;
};

struct RegFileError {
    int line = 0;      // 1-based line of the file
    std::string what;  // what is wrong, for "FILE:LINE: what"
};

// Parses the bytes of a whole file in either format: a UTF-16LE byte-order mark selects UTF-16
// text, anything else is 8-bit text (a UTF-8 byte-order mark is skipped); the header line
// selects how string data in hex(n) is encoded. False with *error for a malformed file.
bool ReadRegFile(std::string_view bytes, RegFileContents* contents, RegFileError* error);

}  // namespace zov::reg
