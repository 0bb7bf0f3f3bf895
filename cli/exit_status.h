// The exit codes of zovcfg, the same for every command and for the dialogs.
#pragma once

namespace zov::cli {

inline constexpr int kExitUnchanged = 0;  // done, nothing changed
inline constexpr int kExitChanged = 1;    // done, a card was added or removed
inline constexpr int kExitCannotRun = 2;  // usage, no registry, unreadable registry
inline constexpr int kExitRefused = 3;    // conflict, card limit, rights, no such card, problems

}  // namespace zov::cli
