// What the dialog manager offers beyond the Win32 calls of platform/win32.h: the terminal to
// show dialogs on, the 3-D look switch, and the dialog initialisation data helper.
#pragma once

#include "platform/terminal/terminal.h"
#include "platform/win32.h"

namespace zov {

// The terminal every dialog is drawn on and reads its input from (the application attaches the
// ncurses driver, tests an in-memory screen); nullptr detaches. The caller keeps it alive while
// attached. Without a terminal a modal dialog is cancelled as soon as it runs.
void AttachTerminal(Terminal* terminal);
Terminal* AttachedTerminal();

// The 3-D look: window shadows and raised push buttons. Off until switched on.
void SetThreeDimensionalLook(bool on);
bool ThreeDimensionalLook();

// Sends a dialog's initialisation data (the list entries of its template, from the module's
// dialog init resource) to its controls, in resource order, as MFC's ExecuteDlgInit does.
// DialogBoxParamA does not do this by itself. Returns FALSE when hDlg is not a dialog
// (ERROR_INVALID_WINDOW_HANDLE) or an entry names a control the dialog does not have
// (ERROR_CONTROL_ID_NOT_FOUND; the other entries are still sent); TRUE otherwise, also when the
// template has no data.
BOOL ExecuteDialogInit(HWND hDlg, HINSTANCE hInstance, LPCSTR lpTemplateName);

}  // namespace zov
