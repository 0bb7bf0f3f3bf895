// Text from the registry or a file as it may be shown on a terminal: nothing in it can move the
// cursor, set a title or clear the screen.
#pragma once

#include <string>
#include <string_view>

namespace zov::reg {

// Control characters (C0, DEL and the C1 range U+0080 to U+009F) become <U+001B> and the like,
// bytes that are not UTF-8 become <0xE9>; everything else stays as it is. No shell or printf
// turns either form back into the character.
std::string Printable(std::string_view text);

}  // namespace zov::reg
