#include "platform/win32/registry.h"
#include "zovreg/file_io.h"
#include "zovreg/key_path.h"
#include "zovreg/key_snapshot_reader.h"
#include "zovreg/reg_file_writer.h"
#include "zovreg/status_text.h"
#include "zovreg/verbs.h"

namespace zov::reg {

int RunExport(const CommandLine& command, ToolStreams& streams) {
    KeySnapshot snapshot;
    LSTATUS status = ERROR_SUCCESS;
    {
        RegistryReadScope snapshot_scope;  // one consistent view of the subtree
        status = ReadKeySnapshot(command.key_path, true, &snapshot);
    }
    if (status != ERROR_SUCCESS) {
        streams.err << "zovreg: " << FullKeyName(command.key_path) << ": "
                    << DescribeRegistryStatus(status) << "\n";
        return 1;
    }
    std::string bytes;
    std::string error;
    if (!WriteRegFile(snapshot, command.format, &bytes, &error)) {
        streams.err << "zovreg: " << error << "\n";
        return 1;
    }
    if (command.file == "-") {
        streams.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        streams.out.flush();
        if (!streams.out) {
            streams.err << "zovreg: cannot write to standard output\n";
            return 1;
        }
        return 0;
    }
    if (!ReplaceFileAtomically(command.file, bytes, &error)) {
        streams.err << "zovreg: " << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace zov::reg
