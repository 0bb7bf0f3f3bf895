// How the properties dialog shows the numbers stored in a card key.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace zov {

// "0x" and the value's bytes from the middle one down to byte 0, in lower-case hexadecimal: the
// first without its leading zero, zero bytes as "00", the others as two digits. A 4-byte value
// shows its two low bytes (0x3F0 as "0x3f0", 0xF0 as "0x00f0"); no bytes give "0x".
std::string BaseAddressText(const std::vector<BYTE>& bytes);

// "0x" and the first byte in lower-case hexadecimal (10 as "0xa"); "" when there is no byte.
std::string ShortHexText(const std::vector<BYTE>& bytes);

// The first byte in decimal; "" when there is no byte.
std::string FirstByteDecimalText(const std::vector<BYTE>& bytes);

}  // namespace zov
