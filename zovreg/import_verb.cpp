#include <iterator>

#include "zovreg/file_io.h"
#include "zovreg/reg_file_importer.h"
#include "zovreg/reg_file_reader.h"
#include "zovreg/verbs.h"

namespace zov::reg {
namespace {

bool ReadInput(const std::string& file, std::istream& in, std::string* bytes, std::string* error) {
    if (file != "-") {
        return ReadWholeFile(file, bytes, error);
    }
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        *error = "cannot read standard input";
        return false;
    }
    return true;
}

}  // namespace

int RunImport(const CommandLine& command, ToolStreams& streams) {
    const std::string shown = command.file == "-" ? std::string("<stdin>") : command.file;
    std::string bytes;
    std::string error;
    if (!ReadInput(command.file, streams.in, &bytes, &error)) {
        streams.err << "zovreg: " << error << "\n";
        return 1;
    }
    RegFileContents contents;
    RegFileError parse_error;
    if (!ReadRegFile(bytes, &contents, &parse_error)) {
        streams.err << "zovreg: " << shown << ":" << parse_error.line << ": " << parse_error.what
                    << "\n";
        return 1;
    }
    ImportFailure failure;
    if (!ImportRegOperations(contents.operations, &failure)) {
        streams.err << "zovreg: " << shown;
        if (failure.line > 0) {
            streams.err << ":" << failure.line;
        }
        streams.err << ": " << failure.what << "; nothing was imported\n";
        return 1;
    }
    return 0;
}

}  // namespace zov::reg
