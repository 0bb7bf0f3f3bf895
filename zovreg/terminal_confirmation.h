// Yes/no questions on the controlling terminal.
#pragma once

#include <optional>
#include <string>

namespace zov::reg {

// Writes the question to /dev/tty and reads one line from it: true for "y" or "yes" in any case,
// false for anything else (Enter included); nullopt when the process has no terminal.
std::optional<bool> ConfirmOnTerminal(const std::string& question);

}  // namespace zov::reg
