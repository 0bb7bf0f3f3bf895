#include "zovreg/utf16_codec.h"

namespace zov::reg {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at text[pos] and its code point, or 0 when the bytes there
// do not start one.
std::size_t DecodeSequence(std::string_view text, std::size_t pos, char32_t* code_point) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        *code_point = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1FU;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0FU;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07U;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0U) != 0x80U) {
            return 0;
        }
        value = (value << 6) | (next & 0x3FU);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    *code_point = value;
    return length;
}

void AppendUtf8(char32_t code_point, std::string* out) {
    if (code_point < 0x80) {
        out->push_back(static_cast<char>(code_point));
    } else if (code_point < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (code_point >> 6)));
        out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else if (code_point < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (code_point >> 12)));
        out->push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (code_point >> 18)));
        out->push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t code_point = 0;
        const std::size_t length = DecodeSequence(text, pos, &code_point);
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
        const std::size_t length = DecodeSequence(text, pos, &code_point);
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
