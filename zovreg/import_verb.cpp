#include "platform/format.h"
#include "zovreg/code_page.h"
#include "zovreg/file_io.h"
#include "zovreg/reg_file_importer.h"
#include "zovreg/reg_file_reader.h"
#include "zovreg/verbs.h"

namespace zov::reg {

int RunImport(const CommandLine& command, ToolStreams& streams) {
    const std::string shown = command.file == "-" ? std::string("<stdin>") : command.file;
    CodePage code_page;
    std::string error;
    if (!code_page.Open(command.code_page, &error)) {
        ReportError(streams, error);
        return 2;
    }
    ByteSource source;
    if (command.file == "-") {
        source = StreamSource(streams.in, "standard input");
    } else if (!OpenFileSource(command.file, &source, &error)) {
        ReportError(streams, error);
        return 1;
    }
    // The file is read and applied at once, in one transaction: a fault anywhere in it, or a
    // change the registry refuses, rolls back everything before it.
    RegFileImporter importer;
    if (!importer.Start(&error)) {
        ReportError(streams, shown + ": " + error + "; nothing was imported");
        return 1;
    }
    RegFileError failure;
    const bool applied = ReadRegStream(
        source, code_page,
        [&](const RegOperation& operation, RegFileError* refusal) {
            return importer.Apply(operation, &refusal->what);
        },
        nullptr, &failure);
    if (!applied) {
        ReportError(streams, FormatText("%s:%d: %s; nothing was imported", shown.c_str(),
                                        failure.line, failure.what.c_str()));
        return 1;
    }
    if (!importer.Commit(&error)) {
        ReportError(streams, shown + ": " + error + "; nothing was imported");
        return 1;
    }
    return 0;
}

}  // namespace zov::reg
