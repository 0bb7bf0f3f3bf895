// zovcfg's card commands: list, show, add, remove and check, for scripts, without a terminal.
#pragma once

#include <ostream>

namespace zov::cli {

// Parses the command line (argv[1] on) and runs its command: data to `out`, messages for people
// to `err`. Returns the exit code.
int RunCardCommands(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace zov::cli
