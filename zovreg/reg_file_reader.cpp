#include "zovreg/reg_file_reader.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/format.h"
#include "platform/registry/key_name.h"
#include "zovreg/key_path.h"
#include "zovreg/utf16_codec.h"

namespace zov::reg {
namespace {

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

// The part of a value line that carries data: up to a ';' comment outside any quoted string,
// without the blanks before it.
std::string_view CodePart(std::string_view line) {
    bool in_string = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (in_string && line[i] == '\\') {
            ++i;
        } else if (line[i] == '"') {
            in_string = !in_string;
        } else if (!in_string && line[i] == ';') {
            return TrimRight(line.substr(0, i));
        }
    }
    return TrimRight(line);
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

// The lines of the file as UTF-8, whatever its encoding, read a piece at a time.
class LineSource {
  public:
    LineSource(const ByteSource& source, const CodePage& code_page)
        : source_(source), code_page_(code_page) {}

    // The next line without its line end in *line; false at the end of the file, or with
    // error->what set when the file cannot be read or decoded.
    bool Next(std::string* line, RegFileError* error);
    int LineNumber() const { return line_number_; }
    // Called once the header is known: REGEDIT4 in an 8-bit file without a UTF-8 byte-order
    // mark is in the code page.
    void UseCodePage() {
        if (encoding_ == Encoding::kEightBit) {
            encoding_ = Encoding::kCodePage;
        }
    }

  private:
    enum class Encoding { kUnknown, kUtf16, kEightBit, kUtf8, kCodePage };

    bool Fill(RegFileError* error);
    bool Detect(RegFileError* error);
    // The end of the line that starts at pos_, searched from from (pos_ plus whole code units).
    std::size_t FindLineEnd(std::size_t from) const;
    bool Decode(std::string_view bytes, std::string* line, RegFileError* error) const;

    const ByteSource& source_;
    const CodePage& code_page_;
    Encoding encoding_ = Encoding::kUnknown;
    std::string buffer_;
    std::size_t pos_ = 0;
    bool at_end_ = false;
    int line_number_ = 0;
};

bool LineSource::Fill(RegFileError* error) {
    if (at_end_) {
        return false;
    }
    std::string piece;
    std::string why;
    if (!source_(&piece, &why)) {
        at_end_ = true;
        if (!why.empty()) {
            error->line = line_number_ + 1;
            error->what = why;
        }
        return false;
    }
    buffer_.erase(0, pos_);
    pos_ = 0;
    buffer_ += piece;
    return true;
}

bool LineSource::Detect(RegFileError* error) {
    while (buffer_.size() < 3 && Fill(error)) {
    }
    if (!error->what.empty()) {
        return false;
    }
    const auto starts = [&](std::string_view mark) {
        return std::string_view(buffer_).substr(0, mark.size()) == mark;
    };
    encoding_ = Encoding::kEightBit;
    if (starts("\xFF\xFE")) {
        encoding_ = Encoding::kUtf16;
        pos_ = 2;
    } else if (starts("\xFE\xFF")) {
        error->line = 1;
        error->what = "UTF-16 big-endian files are not supported; save it as UTF-16LE";
        return false;
    } else if (starts("\xEF\xBB\xBF")) {
        encoding_ = Encoding::kUtf8;
        pos_ = 3;
    }
    return true;
}

std::size_t LineSource::FindLineEnd(std::size_t from) const {
    if (encoding_ != Encoding::kUtf16) {
        const std::size_t end = buffer_.find('\n', from);
        return end == std::string::npos ? end : end + 1;
    }
    for (std::size_t i = from; i + 1 < buffer_.size(); i += 2) {
        if (buffer_[i] == '\n' && buffer_[i + 1] == '\0') {
            return i + 2;
        }
    }
    return std::string::npos;
}

bool LineSource::Decode(std::string_view bytes, std::string* line, RegFileError* error) const {
    switch (encoding_) {
        case Encoding::kUtf16: {
            std::u16string units;
            if (!FromUtf16LeBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                  &units)) {
                error->what = "the file ends in the middle of a UTF-16 character (odd byte count)";
                return false;
            }
            std::size_t bad_unit = 0;
            if (!Utf16ToUtf8(units, line, &bad_unit)) {
                error->what = "unpaired UTF-16 surrogate in the text";
                return false;
            }
            return true;
        }
        case Encoding::kCodePage:
            *line = code_page_.ToUtf8(bytes);
            return true;
        default:
            line->assign(bytes);
            return true;
    }
}

bool LineSource::Next(std::string* line, RegFileError* error) {
    if (encoding_ == Encoding::kUnknown && !Detect(error)) {
        return false;
    }
    std::size_t end = FindLineEnd(pos_);
    while (end == std::string::npos) {
        // Only what Fill adds needs searching: a long line costs its length, not its square.
        const std::size_t unit = encoding_ == Encoding::kUtf16 ? 2 : 1;
        const std::size_t searched = (buffer_.size() - pos_) / unit * unit;
        if (!Fill(error)) {
            break;
        }
        end = FindLineEnd(pos_ + searched);
    }
    if (!error->what.empty()) {
        return false;
    }
    if (end == std::string::npos) {
        if (pos_ >= buffer_.size()) {
            return false;
        }
        end = buffer_.size();
    }
    ++line_number_;
    std::string_view bytes = std::string_view(buffer_).substr(pos_, end - pos_);
    pos_ = end;
    const std::size_t unit = encoding_ == Encoding::kUtf16 ? 2 : 1;
    if (bytes.size() >= unit && bytes[bytes.size() - unit] == '\n') {
        bytes.remove_suffix(unit);
    }
    if (!Decode(bytes, line, error)) {
        error->line = line_number_;
        return false;
    }
    return true;
}

class Parser {
  public:
    Parser(const OperationSink& sink, RegFileError* error) : sink_(sink), error_(error) {}

    bool Header(std::string_view line, RegFileFormat* format);
    bool Line(int line, std::string_view text);
    // The end of the file: a value still waiting for its continuation ends here.
    bool Finish();

  private:
    bool Fail(int line, std::string what) {
        error_->line = line;
        error_->what = std::move(what);
        return false;
    }
    bool Emit(RegOperation& operation) {
        if (sink_(operation, error_)) {
            return true;
        }
        error_->line = operation.line;
        return false;
    }
    bool ParseKeyLine(int line, std::string_view text);
    bool ParseValueLine(int line, std::string_view text);
    bool ParseQuoted(int line, std::string_view text, std::size_t* pos, std::string* out);
    bool ParseData(int line, std::string_view data, RegOperation* operation);
    bool ParseHexBytes(int line, std::string_view text, std::vector<std::uint8_t>* bytes);

    const OperationSink& sink_;
    RegFileError* error_;
    RegFileFormat format_ = RegFileFormat::kRegedit5;
    std::optional<std::string> current_key_;  // the key of the section being read
    bool current_key_deleted_ = false;
    std::string pending_;  // a value line continued with a backslash, joined so far
    int pending_line_ = 0;
};

bool Parser::Header(std::string_view line, RegFileFormat* format) {
    line = Trim(line);
    if (line == kRegedit5Header) {
        format_ = RegFileFormat::kRegedit5;
    } else if (line == kRegedit4Header) {
        format_ = RegFileFormat::kRegedit4;
    } else {
        return Fail(1, FormatText("not a registry file: the first line must be '%s' or '%s'",
                                  kRegedit5Header, kRegedit4Header));
    }
    *format = format_;
    return true;
}

bool Parser::Line(int line, std::string_view text) {
    text = TrimLeft(TrimRight(text));
    if (pending_line_ > 0) {
        // The editor skips blank lines and comments inside continued data.
        if (text.empty() || text.front() == ';') {
            return true;
        }
        pending_ += CodePart(text);
        if (EndsWithContinuation(pending_)) {
            pending_.pop_back();
            return true;
        }
        return Finish();
    }
    if (text.empty() || text.front() == ';') {
        return true;
    }
    if (text.front() == '[') {
        return ParseKeyLine(line, text);
    }
    const std::string_view code = CodePart(text);
    if (EndsWithContinuation(code)) {
        pending_.assign(code.substr(0, code.size() - 1));
        pending_line_ = line;
        return true;
    }
    return ParseValueLine(line, code);
}

bool Parser::Finish() {
    if (pending_line_ == 0) {
        return true;
    }
    const int line = pending_line_;
    pending_line_ = 0;
    const std::string joined = std::move(pending_);
    pending_.clear();
    return ParseValueLine(line, joined);
}

bool Parser::ParseKeyLine(int line, std::string_view text) {
    // As the editor does, the name ends at the last ']'; only a comment may follow it.
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos || close < 1) {
        return Fail(line, "missing ']' at the end of the key name");
    }
    const std::string_view after = TrimLeft(text.substr(close + 1));
    if (!after.empty() && after.front() != ';') {
        return Fail(line,
                    FormatText("unexpected text after the key name: %s", Excerpt(after).c_str()));
    }
    std::string_view name = text.substr(1, close - 1);
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
    current_key_ = subpath;
    current_key_deleted_ = deleted;
    return Emit(operation);
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
        if (NameLength(operation.value_name) > kMaxValueNameLength) {
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
    operation.key_path = *current_key_;
    if (!ParseData(line, Trim(rest.substr(1)), &operation)) {
        return false;
    }
    // The editor ignores the values of a section that deletes its key.
    return current_key_deleted_ || Emit(operation);
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
        if (is_text && format_ == RegFileFormat::kRegedit5) {
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
        // The editor ends text that does not end in a zero with one.
        if (is_text && !operation->data.empty() && operation->data.back() != 0) {
            operation->data.push_back(0);
        }
        return true;
    }
    return Fail(line, FormatText("unknown value data %s: expected \"text\", dword:, hex:, "
                                 "hex(N): or -",
                                 Excerpt(data).c_str()));
}

bool Parser::ParseHexBytes(int line, std::string_view text, std::vector<std::uint8_t>* bytes) {
    text = Trim(text);
    // A comma may end the list, as the editor allows.
    if (!text.empty() && text.back() == ',') {
        text = TrimRight(text.substr(0, text.size() - 1));
        if (text.empty()) {
            return Fail(line, "bad hex data: a byte is missing before the comma");
        }
    }
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

}  // namespace

bool ReadRegStream(const ByteSource& source, const CodePage& code_page, const OperationSink& sink,
                   RegFileFormat* format, RegFileError* error) {
    *error = RegFileError{};
    LineSource lines(source, code_page);
    Parser parser(sink, error);
    std::string line;
    RegFileFormat header = RegFileFormat::kRegedit5;
    if (!lines.Next(&line, error)) {
        if (error->what.empty()) {
            error->line = 1;
            error->what = "not a registry file: the file is empty";
        }
        return false;
    }
    if (!parser.Header(line, &header)) {
        return false;
    }
    if (format != nullptr) {
        *format = header;
    }
    if (header == RegFileFormat::kRegedit4) {
        lines.UseCodePage();
    }
    while (lines.Next(&line, error)) {
        if (!parser.Line(lines.LineNumber(), line)) {
            return false;
        }
    }
    return error->what.empty() && parser.Finish();
}

bool ReadRegFile(std::string_view bytes, RegFileContents* contents, RegFileError* error) {
    *contents = RegFileContents{};
    CodePage code_page;
    std::string why;
    if (!code_page.Open(kDefaultCodePage, &why)) {
        error->line = 1;
        error->what = why;
        return false;
    }
    return ReadRegStream(
        StringSource(bytes), code_page,
        [&](const RegOperation& operation, RegFileError*) {
            contents->operations.push_back(operation);
            return true;
        },
        &contents->format, error);
}

}  // namespace zov::reg
