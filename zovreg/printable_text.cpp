#include "zovreg/printable_text.h"

#include "platform/format.h"
#include "platform/utf8.h"

namespace zov::reg {

std::string Printable(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t code_point = 0;
        const std::size_t length = DecodeUtf8(text, pos, &code_point);
        if (length == 0) {
            shown += FormatText("<0x%02X>", static_cast<unsigned char>(text[pos]));
            ++pos;
            continue;
        }
        // The C0 and C1 controls and DEL, which a terminal would act on.
        if (code_point < 0x20 || (code_point >= 0x7F && code_point < 0xA0)) {
            shown += FormatText("<U+%04X>", static_cast<unsigned>(code_point));
        } else {
            shown.append(text.substr(pos, length));
        }
        pos += length;
    }
    return shown;
}

}  // namespace zov::reg
