#include "platform/win32/registry.h"
#include "zovreg/key_path.h"
#include "zovreg/printable_text.h"
#include "zovreg/status_text.h"
#include "zovreg/verbs.h"

namespace zov::reg {

int RunDelete(const CommandLine& command, ToolStreams& streams) {
    const std::string name = FullKeyName(command.key_path);
    if (command.key_path.empty()) {
        ReportError(streams, name + " itself cannot be deleted");
        return 1;
    }
    if (!command.force) {
        const std::optional<bool> answer =
            streams.confirm
                ? streams.confirm("Delete " + Printable(name) + " and everything below it? (y/N)")
                : std::nullopt;
        if (!answer) {
            ReportError(streams, "no terminal to confirm on; use --force to delete " + name);
            return 1;
        }
        if (!*answer) {
            ReportError(streams, name + " was not deleted");
            return 1;
        }
    }
    RegistryTransaction transaction;  // the whole subtree or nothing
    LSTATUS status = RegDeleteTreeA(HKEY_LOCAL_MACHINE, command.key_path.c_str());
    if (status == ERROR_SUCCESS) {
        status = transaction.Commit();
    }
    if (status != ERROR_SUCCESS) {
        ReportError(streams, "cannot delete " + name + ": " + DescribeRegistryStatus(status));
        return 1;
    }
    return 0;
}

}  // namespace zov::reg
