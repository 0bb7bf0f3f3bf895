#include "zovreg/printable_text.h"

#include "platform/format.h"
#include "zovreg/utf16_codec.h"

namespace zov::reg {
namespace {

// The length of the UTF-8 sequence at text[pos] when it is valid, else 0.
std::size_t SequenceLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (pos + length > text.size() || !IsValidUtf8(text.substr(pos, length))) {
        return 0;
    }
    return length;
}

}  // namespace

std::string Printable(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        const std::size_t length = SequenceLength(text, pos);
        if (length == 0) {
            shown += FormatText("<0x%02X>", byte);
            ++pos;
            continue;
        }
        const bool c1 =
            length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[pos + 1]) < 0xA0;
        if (byte < 0x20 || byte == 0x7F) {
            shown += FormatText("<U+%04X>", byte);
        } else if (c1) {
            shown += FormatText("<U+%04X>", static_cast<unsigned char>(text[pos + 1]));
        } else {
            shown.append(text.substr(pos, length));
        }
        pos += length;
    }
    return shown;
}

}  // namespace zov::reg
