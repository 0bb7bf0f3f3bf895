#include "platform/format.h"

#include <cstdarg>
#include <cstdio>

namespace zov {

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int needed = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text;
    if (needed > 0) {
        text.resize(static_cast<std::size_t>(needed));
        // The string's buffer has room for the terminating zero after size() characters.
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    va_end(args);
    return text;
}

}  // namespace zov
