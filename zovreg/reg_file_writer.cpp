#include "zovreg/reg_file_writer.h"

#include <cstring>

#include "platform/format.h"
#include "zovreg/key_path.h"
#include "zovreg/utf16_codec.h"

namespace zov::reg {
namespace {

constexpr const char* kLineEnd = "\r\n";
// regedit keeps hex lines within 80 columns, the backslash included.
constexpr std::size_t kMaxLineWidth = 80;

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

// A REG_SZ is written as "text" when that reads back to the same bytes: one terminating zero,
// no control characters but tab, and in a UTF-16 file valid UTF-8 so the file stays readable.
bool FitsQuotedString(const ValueSnapshot& value, RegFileFormat format) {
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < value.data.size(); ++i) {
        if (value.data[i] < 0x20 && value.data[i] != '\t') {
            return false;
        }
    }
    if (format == RegFileFormat::kRegedit5) {
        const std::string_view text(reinterpret_cast<const char*>(value.data.data()),
                                    value.data.size() - 1);
        return IsValidUtf8(text);
    }
    return true;
}

void AppendHexData(std::string prefix, const std::vector<std::uint8_t>& data, std::string* out) {
    std::string line = std::move(prefix);
    bool line_has_bytes = false;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const bool last = i + 1 == data.size();
        const std::string token = FormatText(last ? "%02x" : "%02x,", data[i]);
        if (line_has_bytes && line.size() + token.size() + 1 > kMaxLineWidth) {
            *out += line + "\\" + kLineEnd;
            line = "  ";
        }
        line += token;
        line_has_bytes = true;
    }
    *out += line + kLineEnd;
}

void AppendValue(const ValueSnapshot& value, RegFileFormat format, std::string* out) {
    const std::string name = value.name.empty() ? std::string("@") : Quoted(value.name);
    if (FitsQuotedString(value, format)) {
        const std::string text(value.data.begin(), value.data.end() - 1);
        *out += name + "=" + Quoted(text) + kLineEnd;
        return;
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        const std::uint32_t number = static_cast<std::uint32_t>(value.data[0]) |
                                     (static_cast<std::uint32_t>(value.data[1]) << 8) |
                                     (static_cast<std::uint32_t>(value.data[2]) << 16) |
                                     (static_cast<std::uint32_t>(value.data[3]) << 24);
        *out += name + FormatText("=dword:%08x", number) + kLineEnd;
        return;
    }
    if (value.type == REG_BINARY) {
        AppendHexData(name + "=hex:", value.data, out);
        return;
    }
    const bool is_text =
        value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ;
    const std::string prefix = name + FormatText("=hex(%x):", static_cast<unsigned>(value.type));
    if (is_text && format == RegFileFormat::kRegedit5) {
        const std::string_view text(reinterpret_cast<const char*>(value.data.data()),
                                    value.data.size());
        AppendHexData(prefix, ToUtf16LeBytes(Utf8ToUtf16(text)), out);
        return;
    }
    AppendHexData(prefix, value.data, out);
}

bool AppendKey(const KeySnapshot& key, RegFileFormat format, std::string* out, std::string* error) {
    if (HasLineBreak(key.path)) {
        *error = FormatText("the key name '%s' holds a line break, which a .reg file cannot carry",
                            FullKeyName(key.path).c_str());
        return false;
    }
    *out += "[" + FullKeyName(key.path) + "]" + kLineEnd;
    for (const ValueSnapshot& value : key.values) {
        if (HasLineBreak(value.name)) {
            *error = FormatText(
                "a value name of %s holds a line break, which a .reg file cannot "
                "carry",
                FullKeyName(key.path).c_str());
            return false;
        }
        AppendValue(value, format, out);
    }
    *out += kLineEnd;
    for (const KeySnapshot& subkey : key.subkeys) {
        if (!AppendKey(subkey, format, out, error)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool WriteRegFile(const KeySnapshot& root, RegFileFormat format, std::string* bytes,
                  std::string* error) {
    std::string text = format == RegFileFormat::kRegedit5 ? kRegedit5Header : kRegedit4Header;
    text += kLineEnd;
    text += kLineEnd;
    if (!AppendKey(root, format, &text, error)) {
        return false;
    }
    if (format == RegFileFormat::kRegedit4) {
        *bytes = std::move(text);
        return true;
    }
    const std::vector<std::uint8_t> encoded = ToUtf16LeBytes(Utf8ToUtf16(text));
    bytes->assign("\xFF\xFE");
    bytes->append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    return true;
}

}  // namespace zov::reg
