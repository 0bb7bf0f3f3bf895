#include "platform/registry/key_name.h"

#include <locale.h>
#include <wctype.h>

#include "platform/utf8.h"

namespace zov {

namespace {

// The C.UTF-8 locale ships with the C library (libc-bin); without it only ASCII would fold.
locale_t FoldingLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}

char32_t UpperCase(char32_t code_point) {
    if (code_point < 0x80) {
        return code_point >= 'a' && code_point <= 'z' ? code_point - 'a' + 'A' : code_point;
    }
    const locale_t locale = FoldingLocale();
    if (code_point > 0xFFFF || locale == locale_t{}) {
        return code_point;
    }
    const auto upper = static_cast<char32_t>(towupper_l(static_cast<wint_t>(code_point), locale));
    // A mapping must stay in the BMP and off the surrogates to stay one code unit.
    return upper <= 0xFFFF && (upper < 0xD800 || upper > 0xDFFF) ? upper : code_point;
}

}  // namespace

std::string FoldName(std::string_view name) {
    std::string folded;
    folded.reserve(name.size());
    for (std::size_t pos = 0; pos < name.size();) {
        char32_t code_point = 0;
        const std::size_t length = DecodeUtf8(name, pos, &code_point);
        if (length == 0) {
            folded.push_back(name[pos]);
            ++pos;
        } else if (length == 4) {
            folded.append(name.substr(pos, length));
            pos += length;
        } else {
            AppendUtf8(UpperCase(code_point), &folded);
            pos += length;
        }
    }
    return folded;
}

bool SameName(std::string_view a, std::string_view b) {
    return FoldName(a) == FoldName(b);
}

std::size_t NameLength(std::string_view name) {
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < name.size();) {
        char32_t code_point = 0;
        const std::size_t length = DecodeUtf8(name, pos, &code_point);
        units += length == 4 ? 2 : 1;
        pos += length == 0 ? 1 : length;
    }
    return units;
}

LSTATUS SplitKeyPath(std::string_view path, std::vector<std::string>* components) {
    components->clear();
    if (path.empty()) {
        return ERROR_SUCCESS;
    }
    if (path.front() == '\\') {
        return ERROR_BAD_PATHNAME;
    }
    if (path.back() == '\\') {
        path.remove_suffix(1);
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = path.find('\\', start);
        const std::size_t stop = end == std::string_view::npos ? path.size() : end;
        const std::string_view part = path.substr(start, stop - start);
        if (part.empty() || NameLength(part) > kMaxKeyNameLength) {
            components->clear();
            return ERROR_INVALID_PARAMETER;
        }
        components->emplace_back(part);
        if (components->size() > kMaxKeyDepth) {
            components->clear();
            return ERROR_INVALID_PARAMETER;
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return ERROR_SUCCESS;
}

}  // namespace zov
