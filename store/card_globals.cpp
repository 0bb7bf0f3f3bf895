#include "store/card_globals.h"

int g_nCardCount = 0;
int g_nChangeCount = 0;
BOOL g_bIsAdmin = FALSE;
