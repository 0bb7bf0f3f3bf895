// The name rules of the registry, the one place that says them: Windows compares key and value
// names without case by upper-casing each UTF-16 code unit with its simple one-to-one mapping,
// orders subkeys by the upper-cased name, and counts name limits in UTF-16 code units. Names are
// kept as UTF-8 here; the folded form is what the database indexes and sorts on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/base.h"

namespace zov {

// Longest name of one key (Windows' limit, in UTF-16 code units).
inline constexpr std::size_t kMaxKeyNameLength = 255;
// Longest value name (Windows' limit, in UTF-16 code units).
inline constexpr std::size_t kMaxValueNameLength = 16383;
// The most UTF-8 bytes a name of n code units can take (three per unit of the BMP; a character
// beyond it is two units in four bytes).
inline constexpr std::size_t MaxNameBytes(std::size_t units) {
    return units * 3;
}
// Deepest key path below the root (Windows refuses deeper trees).
inline constexpr std::size_t kMaxKeyDepth = 512;

// The upper-cased form of a name. The mapping is the C library's towupper in the C.UTF-8 locale
// (Unicode's simple upper-case mapping, one character to one), applied to the characters of the
// Basic Multilingual Plane; characters beyond it stay as they are, since Windows maps one UTF-16
// code unit at a time. Bytes that are not UTF-8 stay as they are.
std::string FoldName(std::string_view name);

// True when two names are the same name: equal once folded.
bool SameName(std::string_view a, std::string_view b);

// The length of a name in UTF-16 code units; a byte that is not part of valid UTF-8 counts one.
std::size_t NameLength(std::string_view name);

// Splits a relative key path at backslashes into its components. A leading backslash gives
// ERROR_BAD_PATHNAME; one trailing backslash is ignored; an empty component in the middle, a
// component longer than kMaxKeyNameLength or a path deeper than kMaxKeyDepth give
// ERROR_INVALID_PARAMETER. An empty path gives no components (the key itself).
LSTATUS SplitKeyPath(std::string_view path, std::vector<std::string>* components);

}  // namespace zov
