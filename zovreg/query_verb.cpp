#include "platform/registry/key_tree_walk.h"
#include "platform/win32/registry.h"
#include "zovreg/key_path.h"
#include "zovreg/query_format.h"
#include "zovreg/status_text.h"
#include "zovreg/stored_key_path.h"
#include "zovreg/verbs.h"

namespace zov::reg {

int RunQuery(const CommandLine& command, ToolStreams& streams) {
    LSTATUS status = ERROR_SUCCESS;
    {
        RegistryReadScope snapshot_scope;  // one consistent view of the subtree
        std::string stored;
        ScopedKey key;
        status = OpenStoredKey(command.key_path, &stored, &key);
        if (status == ERROR_SUCCESS) {
            QueryPrinter printer(streams.out, stored, command.recursive);
            status = WalkKeyTree(key.Get(), command.recursive, printer);
        }
    }
    streams.out.flush();
    if (!streams.out) {
        ReportError(streams, "cannot write to standard output");
        return 1;
    }
    if (status != ERROR_SUCCESS) {
        ReportError(streams, FullKeyName(command.key_path) + ": " + DescribeRegistryStatus(status));
        return 1;
    }
    return 0;
}

}  // namespace zov::reg
