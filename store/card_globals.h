// The state the card store shares with the dialogs for one run of the utility.
#pragma once

#include "platform/win32/base.h"

// Card keys counted by the last census; the census is its only writer.
extern int g_nCardCount;
// Changes committed in this run: new cards and confirmed removals; decides the exit code.
extern int g_nChangeCount;
// Whether the user is an administrator; decided once at start-up.
extern BOOL g_bIsAdmin;
