// The privileges a token can hold, and whether the process has one enabled right now.
#pragma once

namespace zov {

enum class Privilege { Backup, Restore };

// True when the process's token holds the privilege and it is enabled at this moment (through
// AdjustTokenPrivileges on any token handle opened on the process).
bool IsPrivilegeEnabled(Privilege privilege);

}  // namespace zov
