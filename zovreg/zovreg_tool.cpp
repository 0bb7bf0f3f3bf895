#include "zovreg/zovreg_tool.h"

#include "zovreg/command_line.h"
#include "zovreg/help_text.h"
#include "zovreg/verbs.h"

namespace zov::reg {

int RunZovreg(const std::vector<std::string>& args, ToolStreams& streams) {
    CommandLine command;
    std::string error;
    if (!ParseCommandLine(args, &command, &error)) {
        ReportError(streams, error);
        return 2;
    }
    if (command.version) {
        streams.out << VersionText();
        return 0;
    }
    if (command.help) {
        streams.out << HelpText(command.verb);
        return 0;
    }
    switch (command.verb) {
        case Verb::kQuery:
            return RunQuery(command, streams);
        case Verb::kExport:
            return RunExport(command, streams);
        case Verb::kImport:
            return RunImport(command, streams);
        case Verb::kDelete:
            return RunDelete(command, streams);
        case Verb::kNone:
            break;
    }
    ReportError(streams, "missing command");
    return 2;
}

}  // namespace zov::reg
