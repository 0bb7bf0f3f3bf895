#include "zovreg/utf16_codec.h"

#include "platform/utf8.h"

namespace zov::reg {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t code_point = 0;
        const std::size_t length = DecodeUtf8(text, pos, &code_point);
        if (length == 0) {
            out.push_back(
                static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(text[pos])));
            ++pos;
            continue;
        }
        if (code_point >= 0x10000) {
            const char32_t offset = code_point - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code_point));
        }
        pos += length;
    }
    return out;
}

bool Utf16ToUtf8(std::u16string_view text, std::string* out, std::size_t* error_index) {
    out->clear();
    out->reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                const char32_t high = unit - 0xD800U;
                const char32_t low = text[i + 1] - 0xDC00U;
                AppendUtf8(0x10000 + ((high << 10) | low), out);
                ++i;
                continue;
            }
            *error_index = i;
            return false;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            // Only bytes that cannot start valid UTF-8 by themselves are ever escaped.
            if (unit < kEscapeBase + 0x80 || unit > kEscapeBase + 0xFF) {
                *error_index = i;
                return false;
            }
            out->push_back(static_cast<char>(unit - kEscapeBase));
            continue;
        }
        AppendUtf8(unit, out);
    }
    return true;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t code_point = 0;
        const std::size_t length = DecodeUtf8(text, pos, &code_point);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::vector<std::uint8_t> ToUtf16LeBytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFFU));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

bool FromUtf16LeBytes(const std::uint8_t* bytes, std::size_t size, std::u16string* out) {
    out->clear();
    if (size % 2 != 0) {
        return false;
    }
    out->reserve(size / 2);
    for (std::size_t i = 0; i < size; i += 2) {
        out->push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return true;
}

}  // namespace zov::reg
