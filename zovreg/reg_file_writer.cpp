#include "zovreg/reg_file_writer.h"

#include "platform/format.h"
#include "zovreg/key_path.h"
#include "zovreg/utf16_codec.h"

namespace zov::reg {
namespace {

constexpr const char* kLineEnd = "\r\n";
// regedit keeps hex lines within 80 columns, the backslash included.
constexpr std::size_t kMaxLineWidth = 80;
// Bytes gathered before they go to the sink.
constexpr std::size_t kFlushSize = 1 << 16;

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string Quoted(std::string_view text) {
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

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// A REG_SZ is written as "text" when that reads back to the same bytes: one terminating zero,
// no control characters but tab, and valid UTF-8 so the file stays readable.
bool FitsQuotedString(DWORD type, std::string_view data) {
    if (type != REG_SZ || data.empty() || data.back() != '\0') {
        return false;
    }
    data.remove_suffix(1);
    for (const char c : data) {
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) {
            return false;
        }
    }
    return IsValidUtf8(data);
}

}  // namespace

RegFileWriter::RegFileWriter(RegFileFormat format, const CodePage& code_page, Sink sink)
    : format_(format), code_page_(code_page), sink_(std::move(sink)) {}

bool RegFileWriter::Text(std::string_view text, std::string* out, std::string* error) const {
    if (format_ == RegFileFormat::kRegedit5) {
        out->assign(text);
        return true;
    }
    if (code_page_.FromUtf8(text, out)) {
        return true;
    }
    *error = FormatText(
        "the name '%s' has characters that code page %s cannot hold; export "
        "with --format=regedit5",
        std::string(text).c_str(), code_page_.Name().c_str());
    return false;
}

bool RegFileWriter::EndLine(std::string* error) {
    pending_ += kLineEnd;
    return pending_.size() < kFlushSize || Flush(error);
}

bool RegFileWriter::Flush(std::string* error) {
    std::string bytes;
    if (format_ == RegFileFormat::kRegedit5) {
        const std::vector<std::uint8_t> encoded = ToUtf16LeBytes(Utf8ToUtf16(pending_));
        bytes.assign(encoded.begin(), encoded.end());
    } else {
        bytes.swap(pending_);
    }
    pending_.clear();
    return sink_(bytes, error);
}

bool RegFileWriter::Begin(std::string* error) {
    if (format_ == RegFileFormat::kRegedit5 && !sink_("\xFF\xFE", error)) {
        return false;
    }
    pending_ = format_ == RegFileFormat::kRegedit5 ? kRegedit5Header : kRegedit4Header;
    return EndLine(error);
}

bool RegFileWriter::Key(std::string_view subpath, std::string* error) {
    const std::string full = FullKeyName(std::string(subpath));
    if (HasLineBreak(full)) {
        *error = FormatText("the key name '%s' holds a line break, which a .reg file cannot carry",
                            full.c_str());
        return false;
    }
    std::string name;
    if (!Text(full, &name, error)) {
        return false;
    }
    pending_ += kLineEnd;  // the blank line that ends the header or the key before
    pending_ += "[" + name + "]";
    return EndLine(error);
}

void RegFileWriter::AppendHexData(std::string prefix, const BYTE* data, std::size_t size) {
    std::string line = std::move(prefix);
    bool line_has_bytes = false;
    for (std::size_t i = 0; i < size; ++i) {
        const bool last = i + 1 == size;
        const std::string token = FormatText(last ? "%02x" : "%02x,", data[i]);
        if (line_has_bytes && line.size() + token.size() + 1 > kMaxLineWidth) {
            pending_ += line + "\\" + kLineEnd;
            line = "  ";
        }
        line += token;
        line_has_bytes = true;
    }
    pending_ += line;
}

bool RegFileWriter::Value(std::string_view name, DWORD type, const BYTE* data, std::size_t size,
                          std::string* error) {
    if (HasLineBreak(name)) {
        *error = "a value name holds a line break, which a .reg file cannot carry";
        return false;
    }
    std::string shown_name;
    if (!Text(name, &shown_name, error)) {
        return false;
    }
    const std::string lead = name.empty() ? std::string("@") : Quoted(shown_name);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string text;
    if (FitsQuotedString(type, bytes) && (format_ == RegFileFormat::kRegedit5 ||
                                          code_page_.FromUtf8(bytes.substr(0, size - 1), &text))) {
        if (format_ == RegFileFormat::kRegedit5) {
            text.assign(bytes.substr(0, size - 1));
        }
        pending_ += lead + "=" + Quoted(text);
    } else if (type == REG_DWORD && size == 4) {
        const std::uint32_t number = static_cast<std::uint32_t>(data[0]) |
                                     (static_cast<std::uint32_t>(data[1]) << 8) |
                                     (static_cast<std::uint32_t>(data[2]) << 16) |
                                     (static_cast<std::uint32_t>(data[3]) << 24);
        pending_ += lead + FormatText("=dword:%08x", number);
    } else if (type == REG_BINARY) {
        AppendHexData(lead + "=hex:", data, size);
    } else {
        const std::string prefix = lead + FormatText("=hex(%x):", static_cast<unsigned>(type));
        if (IsText(type) && format_ == RegFileFormat::kRegedit5) {
            const std::vector<std::uint8_t> wide = ToUtf16LeBytes(Utf8ToUtf16(bytes));
            AppendHexData(prefix, wide.data(), wide.size());
        } else {
            AppendHexData(prefix, data, size);
        }
    }
    return EndLine(error);
}

bool RegFileWriter::Finish(std::string* error) {
    return EndLine(error) && Flush(error);  // the blank line after the last key
}

bool WriteRegFile(const KeySnapshot& root, RegFileFormat format, const CodePage& code_page,
                  std::string* bytes, std::string* error) {
    bytes->clear();
    RegFileWriter writer(format, code_page, [&](std::string_view piece, std::string*) {
        bytes->append(piece);
        return true;
    });
    bool ok = writer.Begin(error);
    const auto write_key = [&](const auto& self, const KeySnapshot& key) -> bool {
        if (!writer.Key(key.path, error)) {
            return false;
        }
        for (const ValueSnapshot& value : key.values) {
            if (!writer.Value(value.name, value.type, value.data.data(), value.data.size(),
                              error)) {
                return false;
            }
        }
        for (const KeySnapshot& subkey : key.subkeys) {
            if (!self(self, subkey)) {
                return false;
            }
        }
        return true;
    };
    return ok && write_key(write_key, root) && writer.Finish(error);
}

}  // namespace zov::reg
