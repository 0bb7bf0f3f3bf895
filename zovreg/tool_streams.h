// What a run of zovreg talks to, so that tests can run it in-process.
#pragma once

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace zov::reg {

struct ToolStreams {
    std::ostream& out;  // results; an export to "-"
    std::ostream& err;  // "zovreg: ..." messages
    std::istream& in;   // an import from "-"
    // Asks a yes/no question; nullopt when there is no terminal to ask on.
    std::function<std::optional<bool>(const std::string& question)> confirm;
};

}  // namespace zov::reg

namespace zov::reg {

// Writes "zovreg: message" and a line end to streams.err, with the message passed through
// Printable: names and excerpts from the registry or a file never reach the terminal raw.
void ReportError(ToolStreams& streams, std::string_view message);

}  // namespace zov::reg
