// Conversion between the registry's 8-bit text and the UTF-16LE of version 5 .reg files.
//
// The registry keeps text as 8-bit bytes, which zovreg takes to be UTF-8. Bytes that are not
// valid UTF-8 must still survive an export and an import unchanged, so each such byte 0xXY is
// carried as the lone low surrogate U+DCXY (the "surrogate escape" that Python uses for file
// names), and turned back into the byte when read. Valid UTF-8 never decodes to a lone
// surrogate, so the two directions are exact inverses of each other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zov::reg {

// 8-bit text to UTF-16 code units; never fails (see above for bytes that are not UTF-8).
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 code units to 8-bit text. False for a surrogate that is neither part of a pair nor an
// escaped byte; *error_index is then the index of the offending code unit.
bool Utf16ToUtf8(std::u16string_view text, std::string* out, std::size_t* error_index);

// True when the bytes are UTF-8 as Unicode defines it (no overlong forms, no surrogates, nothing
// above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Code units to little-endian bytes and back; FromUtf16LeBytes needs an even byte count.
std::vector<std::uint8_t> ToUtf16LeBytes(std::u16string_view text);
bool FromUtf16LeBytes(const std::uint8_t* bytes, std::size_t size, std::u16string* out);

}  // namespace zov::reg
