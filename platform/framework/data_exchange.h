// Dialog data exchange and validation: the DDX_ calls move one value between a member and a
// control, in the direction of pDX->m_bSaveAndValidate; the DDV_ calls check the value the DDX_
// call before them moved. Each does nothing once the exchange has failed.
#pragma once

#include "platform/framework/c_data_exchange.h"
#include "platform/framework/c_string.h"
#include "platform/framework/c_wnd.h"

// Binds a control object to control nIDC, once: the object stays the control's permanent object
// until the dialog ends.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// The text of an edit or static control.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

// A combo box's text. Towards the control, selects the first entry that begins with the value
// (without regard to case), or sets the control's text when no entry does; towards the member,
// reads the control's text, which for a drop-down list is its selected entry.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);

// A group of radio buttons as the index of the checked one, counting the radio buttons from
// nIDC up to the next control that starts a group. Towards the controls, checks the button at
// that index and clears the others; towards the member, -1 when none is checked.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

// Towards the control, limits the edit of the DDX_Text before to nChars characters; towards the
// member, refuses a longer text with a message, the edit focused with its text selected.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
