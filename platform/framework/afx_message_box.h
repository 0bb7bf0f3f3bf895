// The framework's message box: the application's title as caption, owned by the active window.
// Free of dialog classes, so that code below the user interface can report through it.
#pragma once

#include "platform/win32.h"

// Shows the text with MessageBoxA and returns the button pressed (0 when the box could not be
// shown). Without an icon in nType, MB_OK and MB_OKCANCEL boxes get the exclamation icon and
// MB_YESNO and MB_YESNOCANCEL boxes the question icon. nIDHelp is accepted and unused: there is no
// help file.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// The application's title: the executable's file name without directory or extension, or the
// name the application object was given. "" before the application has started.
LPCSTR AfxGetAppName();
