// Feeds arbitrary bytes to the .reg reader: it must refuse or accept them without crashing,
// reading out of bounds or leaking, and never touches the registry.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "zovreg/reg_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zov::reg::RegFileContents contents;
    zov::reg::RegFileError error;
    const bool read = zov::reg::ReadRegFile(
        std::string_view(reinterpret_cast<const char*>(data), size), &contents, &error);
    // A refusal always names a line of the file.
    if (!read && error.line < 1) {
        __builtin_trap();
    }
    return 0;
}
