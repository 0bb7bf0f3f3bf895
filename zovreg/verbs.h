// The four verbs of zovreg. Each returns the exit status: 0 done, 1 failed with a one-line
// "zovreg: ..." reason written to streams.err.
#pragma once

#include "zovreg/command_line.h"
#include "zovreg/tool_streams.h"

namespace zov::reg {

int RunQuery(const CommandLine& command, ToolStreams& streams);
int RunExport(const CommandLine& command, ToolStreams& streams);
int RunImport(const CommandLine& command, ToolStreams& streams);
int RunDelete(const CommandLine& command, ToolStreams& streams);

}  // namespace zov::reg
