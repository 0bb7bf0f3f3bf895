#include "platform/win32/registry.h"
#include "zovreg/key_path.h"
#include "zovreg/key_snapshot_reader.h"
#include "zovreg/query_format.h"
#include "zovreg/status_text.h"
#include "zovreg/verbs.h"

namespace zov::reg {

int RunQuery(const CommandLine& command, ToolStreams& streams) {
    KeySnapshot snapshot;
    LSTATUS status = ERROR_SUCCESS;
    {
        RegistryReadScope snapshot_scope;  // one consistent view of the subtree
        status = ReadKeySnapshot(command.key_path, command.recursive, &snapshot);
    }
    if (status != ERROR_SUCCESS) {
        streams.err << "zovreg: " << FullKeyName(command.key_path) << ": "
                    << DescribeRegistryStatus(status) << "\n";
        return 1;
    }
    streams.out << FormatQuery(snapshot, command.recursive);
    streams.out.flush();
    return streams.out ? 0 : 1;
}

}  // namespace zov::reg
