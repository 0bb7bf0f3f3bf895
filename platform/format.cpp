#include "platform/format.h"

#include <cstdarg>
#include <cstdio>

namespace zov {

std::string FormatText(const char* format, ...) {
    // Measured first, then written into a string of exactly that size; the arguments are read
    // twice, each time from a fresh va_start.
    va_list args;
    va_start(args, format);
    const int needed = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (needed > 0) {
        text.resize(static_cast<std::size_t>(needed));
        // The string's buffer has room for the terminating zero after size() characters.
        va_start(args, format);
        const int written = std::vsnprintf(text.data(), text.size() + 1, format, args);
        va_end(args);
        if (written != needed) {
            text.clear();
        }
    }
    return text;
}

}  // namespace zov
