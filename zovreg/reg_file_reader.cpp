#include "zovreg/reg_file_reader.h"

#include <cstdint>
#include <optional>

#include "platform/format.h"
#include "zovreg/key_path.h"
#include "zovreg/utf16_codec.h"

namespace zov::reg {
namespace {

// The longest value name the registry takes.
constexpr std::size_t kMaxValueNameLength = 16383;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view Trim(std::string_view text) {
    return TrimRight(TrimLeft(text));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// 1 to max_digits hexadecimal digits, nothing else.
std::optional<std::uint32_t> ParseHexNumber(std::string_view text, std::size_t max_digits) {
    if (text.empty() || text.size() > max_digits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        if (lower(text[i]) != lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

// Shows a piece of the file in a message: at most 40 bytes, quoted.
std::string Excerpt(std::string_view text) {
    constexpr std::size_t kMaxShown = 40;
    if (text.size() > kMaxShown) {
        return "'" + std::string(text.substr(0, kMaxShown)) + "...'";
    }
    return "'" + std::string(text) + "'";
}

// True when the line goes on on the next one: its last character is a backslash outside any
// quoted string.
bool EndsWithContinuation(std::string_view line) {
    bool in_string = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (in_string && line[i] == '\\') {
            ++i;
        } else if (line[i] == '"') {
            in_string = !in_string;
        }
    }
    return !in_string && !line.empty() && line.back() == '\\';
}

class Parser {
  public:
    Parser(RegFileContents* contents, RegFileError* error) : contents_(contents), error_(error) {}

    bool Run(std::string_view text);

  private:
    bool Fail(int line, std::string what) {
        error_->line = line;
        error_->what = std::move(what);
        return false;
    }
    bool ParseHeader(std::string_view line);
    bool ParseKeyLine(int line, std::string_view text);
    bool ParseValueLine(int line, std::string_view text);
    bool ParseQuoted(int line, std::string_view text, std::size_t* pos, std::string* out);
    bool ParseData(int line, std::string_view data, RegOperation* operation);
    bool ParseHexBytes(int line, std::string_view text, std::vector<std::uint8_t>* bytes);

    RegFileContents* contents_;
    RegFileError* error_;
    std::optional<std::string> current_key_;  // the key of the section being read
    bool current_key_deleted_ = false;
};

bool Parser::Run(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(TrimRight(text.substr(start)));
            break;
        }
        lines.push_back(TrimRight(text.substr(start, end - start)));
        start = end + 1;
    }
    if (!ParseHeader(Trim(lines.front()))) {
        return false;
    }
    for (std::size_t index = 1; index < lines.size(); ++index) {
        const int line_number = static_cast<int>(index) + 1;
        std::string_view line = TrimLeft(lines[index]);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            if (!ParseKeyLine(line_number, line)) {
                return false;
            }
            continue;
        }
        std::string joined(line);
        while (EndsWithContinuation(joined) && index + 1 < lines.size()) {
            joined.pop_back();
            joined += TrimLeft(lines[++index]);
        }
        if (!ParseValueLine(line_number, joined)) {
            return false;
        }
    }
    return true;
}

bool Parser::ParseHeader(std::string_view line) {
    if (line == kRegedit5Header) {
        contents_->format = RegFileFormat::kRegedit5;
        return true;
    }
    if (line == kRegedit4Header) {
        contents_->format = RegFileFormat::kRegedit4;
        return true;
    }
    return Fail(1, FormatText("not a registry file: the first line must be '%s' or '%s'",
                              kRegedit5Header, kRegedit4Header));
}

bool Parser::ParseKeyLine(int line, std::string_view text) {
    text = TrimRight(text);
    if (text.size() < 2 || text.back() != ']') {
        return Fail(line, "missing ']' at the end of the key name");
    }
    std::string_view name = text.substr(1, text.size() - 2);
    const bool deleted = !name.empty() && name.front() == '-';
    if (deleted) {
        name.remove_prefix(1);
    }
    std::string subpath;
    std::string why;
    if (!ParseRootedKeyPath(name, &subpath, &why)) {
        return Fail(line, why);
    }
    if (deleted && subpath.empty()) {
        return Fail(line, "HKEY_LOCAL_MACHINE itself cannot be deleted");
    }
    RegOperation operation;
    operation.kind = deleted ? RegOperation::Kind::kDeleteKey : RegOperation::Kind::kCreateKey;
    operation.line = line;
    operation.key_path = subpath;
    contents_->operations.push_back(std::move(operation));
    current_key_ = subpath;
    current_key_deleted_ = deleted;
    return true;
}

bool Parser::ParseQuoted(int line, std::string_view text, std::size_t* pos, std::string* out) {
    out->clear();
    for (std::size_t i = *pos + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            *pos = i + 1;
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= text.size()) {
                break;
            }
            const char escaped = text[++i];
            if (escaped != '\\' && escaped != '"') {
                return Fail(line, FormatText("unknown escape '\\%c' in a string (write \\\\ for a "
                                             "backslash, \\\" for a quote)",
                                             escaped));
            }
            out->push_back(escaped);
            continue;
        }
        out->push_back(c);
    }
    return Fail(line, "unterminated string (no closing quote)");
}

bool Parser::ParseValueLine(int line, std::string_view text) {
    RegOperation operation;
    operation.line = line;
    std::size_t pos = 0;
    if (text.front() == '@') {
        pos = 1;
    } else if (text.front() == '"') {
        if (!ParseQuoted(line, text, &pos, &operation.value_name)) {
            return false;
        }
        if (operation.value_name.find('\0') != std::string::npos) {
            return Fail(line, "NUL character in a value name");
        }
        if (operation.value_name.size() > kMaxValueNameLength) {
            return Fail(line,
                        FormatText("value name longer than %zu characters", kMaxValueNameLength));
        }
    } else {
        return Fail(line, FormatText("expected [KEY], \"name\"=... or @=..., found %s",
                                     Excerpt(text).c_str()));
    }
    const std::string_view rest = TrimLeft(text.substr(pos));
    if (rest.empty() || rest.front() != '=') {
        return Fail(line, "missing '=' after the value name");
    }
    if (!current_key_) {
        return Fail(line, "value before the first [KEY] line");
    }
    if (current_key_deleted_) {
        return Fail(line, "value under a [-KEY] line, which deletes that key");
    }
    operation.key_path = *current_key_;
    if (!ParseData(line, Trim(rest.substr(1)), &operation)) {
        return false;
    }
    contents_->operations.push_back(std::move(operation));
    return true;
}

bool Parser::ParseData(int line, std::string_view data, RegOperation* operation) {
    operation->kind = RegOperation::Kind::kSetValue;
    if (data == "-") {
        operation->kind = RegOperation::Kind::kDeleteValue;
        return true;
    }
    if (!data.empty() && data.front() == '"') {
        std::string text;
        std::size_t pos = 0;
        if (!ParseQuoted(line, data, &pos, &text)) {
            return false;
        }
        if (!Trim(data.substr(pos)).empty()) {
            return Fail(line, FormatText("unexpected text after the closing quote: %s",
                                         Excerpt(Trim(data.substr(pos))).c_str()));
        }
        operation->type = REG_SZ;
        operation->data.assign(text.begin(), text.end());
        operation->data.push_back(0);
        return true;
    }
    if (StartsWithIgnoringCase(data, "dword:")) {
        const std::string_view digits = Trim(data.substr(6));
        const std::optional<std::uint32_t> value = ParseHexNumber(digits, 8);
        if (!value) {
            return Fail(line, FormatText("bad dword %s: expected 1 to 8 hexadecimal digits",
                                         Excerpt(digits).c_str()));
        }
        operation->type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8) {
            operation->data.push_back(static_cast<std::uint8_t>(*value >> shift));
        }
        return true;
    }
    if (StartsWithIgnoringCase(data, "hex:")) {
        operation->type = REG_BINARY;
        return ParseHexBytes(line, data.substr(4), &operation->data);
    }
    if (StartsWithIgnoringCase(data, "hex(")) {
        const std::size_t close = data.find(')');
        const std::optional<std::uint32_t> type =
            close == std::string_view::npos ? std::nullopt
                                            : ParseHexNumber(data.substr(4, close - 4), 8);
        if (!type || close + 1 >= data.size() || data[close + 1] != ':') {
            return Fail(line, FormatText("bad value type in %s: expected hex(N): with N in "
                                         "hexadecimal",
                                         Excerpt(data).c_str()));
        }
        operation->type = *type;
        if (!ParseHexBytes(line, data.substr(close + 2), &operation->data)) {
            return false;
        }
        const bool is_text = *type == REG_SZ || *type == REG_EXPAND_SZ || *type == REG_MULTI_SZ;
        if (is_text && contents_->format == RegFileFormat::kRegedit5) {
            std::u16string units;
            if (!FromUtf16LeBytes(operation->data.data(), operation->data.size(), &units)) {
                return Fail(line, FormatText("hex(%x) text must be UTF-16: an even number of "
                                             "bytes",
                                             static_cast<unsigned>(*type)));
            }
            std::string text;
            std::size_t bad_unit = 0;
            if (!Utf16ToUtf8(units, &text, &bad_unit)) {
                return Fail(line, FormatText("hex(%x) text has an unpaired UTF-16 surrogate at "
                                             "byte %zu",
                                             static_cast<unsigned>(*type), bad_unit * 2));
            }
            operation->data.assign(text.begin(), text.end());
        }
        return true;
    }
    return Fail(line, FormatText("unknown value data %s: expected \"text\", dword:, hex:, "
                                 "hex(N): or -",
                                 Excerpt(data).c_str()));
}

bool Parser::ParseHexBytes(int line, std::string_view text, std::vector<std::uint8_t>* bytes) {
    text = Trim(text);
    if (text.empty()) {
        return true;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view token =
            Trim(text.substr(start, comma == std::string_view::npos ? text.npos : comma - start));
        const std::optional<std::uint32_t> byte = ParseHexNumber(token, 2);
        if (!byte) {
            return Fail(line, token.empty()
                                  ? std::string("bad hex data: a byte is missing between commas")
                                  : FormatText("bad hex byte %s: expected two hexadecimal digits",
                                               Excerpt(token).c_str()));
        }
        bytes->push_back(static_cast<std::uint8_t>(*byte));
        if (comma == std::string_view::npos) {
            return true;
        }
        start = comma + 1;
    }
}

// The line that the code unit at index is on: one more than the line feeds before it.
int LineOfUnit(std::u16string_view text, std::size_t index) {
    int line = 1;
    for (std::size_t i = 0; i < index && i < text.size(); ++i) {
        if (text[i] == u'\n') {
            ++line;
        }
    }
    return line;
}

}  // namespace

bool ReadRegFile(std::string_view bytes, RegFileContents* contents, RegFileError* error) {
    *contents = RegFileContents{};
    Parser parser(contents, error);
    const auto byte_at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && byte_at(0) == 0xFF && byte_at(1) == 0xFE) {
        std::u16string units;
        if (!FromUtf16LeBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2,
                              bytes.size() - 2, &units)) {
            std::u16string whole;
            FromUtf16LeBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2,
                             bytes.size() - 3, &whole);
            error->line = LineOfUnit(whole, whole.size());
            error->what = "the file ends in the middle of a UTF-16 character (odd byte count)";
            return false;
        }
        std::string text;
        std::size_t bad_unit = 0;
        if (!Utf16ToUtf8(units, &text, &bad_unit)) {
            error->line = LineOfUnit(units, bad_unit);
            error->what = "unpaired UTF-16 surrogate in the text";
            return false;
        }
        return parser.Run(text);
    }
    if (bytes.size() >= 2 && byte_at(0) == 0xFE && byte_at(1) == 0xFF) {
        error->line = 1;
        error->what = "UTF-16 big-endian files are not supported; save it as UTF-16LE";
        return false;
    }
    if (bytes.size() >= 3 && byte_at(0) == 0xEF && byte_at(1) == 0xBB && byte_at(2) == 0xBF) {
        bytes.remove_prefix(3);
    }
    return parser.Run(bytes);
}

}  // namespace zov::reg
