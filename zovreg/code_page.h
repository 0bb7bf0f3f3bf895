// The 8-bit code page of REGEDIT4 files (Windows-1252 unless --codepage says otherwise), through
// the C library's iconv. The registry holds text as UTF-8.
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

namespace zov::reg {

inline constexpr const char* kDefaultCodePage = "WINDOWS-1252";

class CodePage {
  public:
    CodePage() = default;
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    // False with *error when iconv does not know name.
    bool Open(const std::string& name, std::string* error);
    const std::string& Name() const { return name_; }

    // UTF-8 to the code page; false when the text is not UTF-8 or holds a character the code
    // page has not got.
    bool FromUtf8(std::string_view text, std::string* out) const;
    // The code page to UTF-8. A byte the code page leaves undefined becomes the character of the
    // same number (U+0080 to U+00FF), as Windows reads it.
    std::string ToUtf8(std::string_view text) const;

  private:
    std::string name_;
    iconv_t to_page_ = reinterpret_cast<iconv_t>(-1);
    iconv_t from_page_ = reinterpret_cast<iconv_t>(-1);
};

}  // namespace zov::reg
