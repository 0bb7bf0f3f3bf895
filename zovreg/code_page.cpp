#include "zovreg/code_page.h"

#include <cerrno>
#include <cstring>

#include "platform/format.h"

namespace zov::reg {
namespace {

// iconv_open's failure value; iconv_t is a plain pointer.
void* const kNoConverter = reinterpret_cast<iconv_t>(-1);

// Runs text through converter into *out. Stops at the first byte the converter refuses and
// returns how many input bytes were converted; text.size() when all were.
std::size_t Convert(iconv_t converter, std::string_view text, std::string* out) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text.data());  // iconv's signature; it does not write there
    std::size_t in_left = text.size();
    std::string buffer(text.size() * 4 + 16, '\0');
    while (in_left > 0) {
        char* next = buffer.data();
        std::size_t out_left = buffer.size();
        const std::size_t result = iconv(converter, &in, &in_left, &next, &out_left);
        out->append(buffer.data(), buffer.size() - out_left);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            break;
        }
    }
    return text.size() - in_left;
}

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

CodePage::~CodePage() {
    if (to_page_ != kNoConverter) {
        iconv_close(to_page_);
    }
    if (from_page_ != kNoConverter) {
        iconv_close(from_page_);
    }
}

bool CodePage::Open(const std::string& name, std::string* error) {
    to_page_ = iconv_open(name.c_str(), "UTF-8");
    from_page_ = iconv_open("UTF-8", name.c_str());
    if (to_page_ == kNoConverter || from_page_ == kNoConverter) {
        *error = FormatText(
            "unknown code page '%s' (try WINDOWS-1252, CP850, ISO-8859-15; "
            "'iconv --list' shows them all)",
            name.c_str());
        return false;
    }
    name_ = name;
    return true;
}

bool CodePage::FromUtf8(std::string_view text, std::string* out) const {
    out->clear();
    if (IsAscii(text)) {  // every code page of a .reg file is ASCII below 0x80
        out->assign(text);
        return true;
    }
    return Convert(to_page_, text, out) == text.size();
}

std::string CodePage::ToUtf8(std::string_view text) const {
    std::string out;
    if (IsAscii(text)) {
        return std::string(text);
    }
    while (!text.empty()) {
        const std::size_t done = Convert(from_page_, text, &out);
        text.remove_prefix(done);
        if (!text.empty()) {
            const auto byte = static_cast<unsigned char>(text.front());
            if (byte < 0x80) {
                out.push_back(static_cast<char>(byte));
            } else {
                out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
                out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
            }
            text.remove_prefix(1);
        }
    }
    return out;
}

}  // namespace zov::reg
