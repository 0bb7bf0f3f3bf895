// UTF-8, strictly: the one decoder and encoder of the registry's names and of zovreg's files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zov {

// The code point of the valid UTF-8 sequence at text[pos] and its length, or length 0 when the
// bytes there do not start one (overlong forms, surrogates and values above U+10FFFF included).
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t* code_point);

// Appends the UTF-8 form of a code point (at most U+10FFFF, no surrogate).
void AppendUtf8(char32_t code_point, std::string* out);

}  // namespace zov
