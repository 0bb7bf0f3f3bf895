// The two .reg file formats and their header lines.
#pragma once

namespace zov::reg {

enum class RegFileFormat {
    kRegedit5,  // UTF-16LE with a byte-order mark; string data in hex(n) is UTF-16 too
    kRegedit4,  // 8-bit text; hex(n) string data is the registry's own bytes
};

inline constexpr const char* kRegedit5Header = "Windows Registry Editor Version 5.00";
inline constexpr const char* kRegedit4Header = "REGEDIT4";

}  // namespace zov::reg
