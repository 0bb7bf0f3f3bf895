// Key and value names: Windows compares them case-insensitively by upper-casing, and orders
// subkeys by the upper-cased name. The folded form is what the database indexes and sorts on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/base.h"

namespace zov {

// Longest name of one key (Windows' limit, in characters).
inline constexpr std::size_t kMaxKeyNameLength = 255;
// Longest value name (Windows' limit, in characters).
inline constexpr std::size_t kMaxValueNameLength = 16383;
// Deepest key path below the root (Windows refuses deeper trees).
inline constexpr std::size_t kMaxKeyDepth = 512;

// Upper-cases the ASCII letters; other bytes stay as they are.
std::string FoldName(std::string_view name);

// Splits a relative key path at backslashes into its components. A leading backslash gives
// ERROR_BAD_PATHNAME; one trailing backslash is ignored; an empty component in the middle, a
// component longer than kMaxKeyNameLength or a path deeper than kMaxKeyDepth give
// ERROR_INVALID_PARAMETER. An empty path gives no components (the key itself).
LSTATUS SplitKeyPath(std::string_view path, std::vector<std::string>* components);

}  // namespace zov
