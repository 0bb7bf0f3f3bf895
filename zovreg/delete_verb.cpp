#include "platform/win32/registry.h"
#include "zovreg/key_path.h"
#include "zovreg/status_text.h"
#include "zovreg/verbs.h"

namespace zov::reg {

int RunDelete(const CommandLine& command, ToolStreams& streams) {
    const std::string name = FullKeyName(command.key_path);
    if (command.key_path.empty()) {
        streams.err << "zovreg: " << name << " itself cannot be deleted\n";
        return 1;
    }
    if (!command.force) {
        const std::optional<bool> answer =
            streams.confirm ? streams.confirm("Delete " + name + " and everything below it? (y/N)")
                            : std::nullopt;
        if (!answer) {
            streams.err << "zovreg: no terminal to confirm on; use --force to delete " << name
                        << "\n";
            return 1;
        }
        if (!*answer) {
            streams.err << "zovreg: " << name << " was not deleted\n";
            return 1;
        }
    }
    RegistryTransaction transaction;  // the whole subtree or nothing
    LSTATUS status = RegDeleteTreeA(HKEY_LOCAL_MACHINE, command.key_path.c_str());
    if (status == ERROR_SUCCESS) {
        status = transaction.Commit();
    }
    if (status != ERROR_SUCCESS) {
        streams.err << "zovreg: cannot delete " << name << ": " << DescribeRegistryStatus(status)
                    << "\n";
        return 1;
    }
    return 0;
}

}  // namespace zov::reg
