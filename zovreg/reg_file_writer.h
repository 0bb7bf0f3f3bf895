// Writes a .reg file as regedit writes one, as it goes: keys in enumeration order, each with its
// values in their order, long hex data wrapped with trailing backslashes. The same registry always
// gives the same bytes, so exports diff well.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/win32/registry.h"
#include "zovreg/code_page.h"
#include "zovreg/key_snapshot.h"
#include "zovreg/reg_file_format.h"

namespace zov::reg {

class RegFileWriter {
  public:
    // Takes the next bytes of the file; false when they could not be written (*error says why).
    using Sink = std::function<bool(std::string_view bytes, std::string* error)>;

    // kRegedit5 is UTF-16LE with a byte-order mark; kRegedit4 is 8-bit text in code_page, where
    // text the code page cannot hold is written as hex(n) data of the registry's own bytes. CRLF
    // line ends in both.
    RegFileWriter(RegFileFormat format, const CodePage& code_page, Sink sink);

    // Each returns false with *error, after which the file is incomplete: a key or value name
    // that holds a line break (no .reg file can carry one), a REGEDIT4 name the code page cannot
    // hold, or a failure of the sink.
    bool Begin(std::string* error);
    bool Key(std::string_view subpath, std::string* error);
    bool Value(std::string_view name, DWORD type, const BYTE* data, std::size_t size,
               std::string* error);
    bool Finish(std::string* error);

  private:
    bool Text(std::string_view text, std::string* out, std::string* error) const;
    void AppendHexData(std::string prefix, const BYTE* data, std::size_t size);
    bool EndLine(std::string* error);
    bool Flush(std::string* error);

    RegFileFormat format_;
    const CodePage& code_page_;
    Sink sink_;
    std::string pending_;  // the lines not yet handed to the sink, in the file's encoding
};

// The whole file of a snapshot in one string, through RegFileWriter.
bool WriteRegFile(const KeySnapshot& root, RegFileFormat format, const CodePage& code_page,
                  std::string* bytes, std::string* error);

}  // namespace zov::reg
