// The one way this project builds formatted text: a printf-style format into a std::string,
// sized to fit, with the compiler checking the arguments against the format.
#pragma once

#include <string>

namespace zov {

// Formats like snprintf into a string of exactly the needed length. An encoding error in the
// format gives an empty string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zov
