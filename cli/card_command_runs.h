// The work of each card command once its command line is parsed; each returns the exit code.
#pragma once

#include "cli/command_output.h"
#include "store/new_card.h"

namespace zov::cli {

int RunList(CommandOutput& output);
int RunShow(CommandOutput& output, int cardNumber);
int RunAdd(CommandOutput& output, const NewCardRequest& request, bool dryRun);
int RunRemove(CommandOutput& output, int cardNumber, bool dryRun);
int RunCheck(CommandOutput& output);

// Whether the registry can be read at all; otherwise reports why and gives false.
bool RegistryUsable(CommandOutput& output, int& exitCode);

}  // namespace zov::cli
