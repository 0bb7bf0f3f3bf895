#include "zovreg/tool_streams.h"

#include "zovreg/printable_text.h"

namespace zov::reg {

void ReportError(ToolStreams& streams, std::string_view message) {
    streams.err << "zovreg: " << Printable(message) << "\n";
}

}  // namespace zov::reg
