// Reads a .reg file as a stream into the changes it asks for, one at a time, in file order, as
// the registry editor reads it: a UTF-16LE byte-order mark selects UTF-16 text; otherwise the
// file is 8-bit text, UTF-8 after a UTF-8 byte-order mark or under the version 5 header, and in
// the code page (Windows-1252 unless chosen) under REGEDIT4. The header selects how string data
// in hex(n) is encoded.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "zovreg/code_page.h"
#include "zovreg/file_io.h"
#include "zovreg/reg_file_format.h"
#include "zovreg/reg_operation.h"

namespace zov::reg {

struct RegFileError {
    int line = 0;      // 1-based line of the file
    std::string what;  // what is wrong, for "FILE:LINE: what"
};

// Takes the next change of the file; false with error->what to stop the reading.
using OperationSink = std::function<bool(const RegOperation& operation, RegFileError* error)>;

// Reads the file from source and hands each change to sink as soon as it is complete; only one
// value's data is held at a time. False with *error for a malformed file, a read failure or a
// refusal of the sink; the changes before it have been handed on. *format, when given, receives
// the format of the header.
bool ReadRegStream(const ByteSource& source, const CodePage& code_page, const OperationSink& sink,
                   RegFileFormat* format, RegFileError* error);

struct RegFileContents {
    RegFileFormat format = RegFileFormat::kRegedit5;
    std::vector<RegOperation> operations;
};

// The whole file at once, in the default code page: what the tests and the fuzzers read.
bool ReadRegFile(std::string_view bytes, RegFileContents* contents, RegFileError* error);

}  // namespace zov::reg
