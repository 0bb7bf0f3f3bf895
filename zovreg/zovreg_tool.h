// One run of zovreg: parses the command line and runs its verb.
#pragma once

#include <string>
#include <vector>

#include "zovreg/tool_streams.h"

namespace zov::reg {

// args are the arguments after the program name. Returns the exit status: 0 done, 1 failed,
// 2 usage error; every failure has its one line "zovreg: ..." on streams.err.
int RunZovreg(const std::vector<std::string>& args, ToolStreams& streams);

}  // namespace zov::reg
