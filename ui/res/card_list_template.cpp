// Template 142: the card list, the utility's main window.
#include "ui/res/dialog_templates.h"
#include "ui/res/resource.h"

namespace zovcfg::res {

zov::DialogTemplate CardListTemplate() {
    using zov::ControlClass;
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    constexpr DWORD kCommand = kChild | BS_PUSHBUTTON | WS_TABSTOP;

    zov::DialogTemplate dialog;
    dialog.id = IDD_CARD_LIST;
    dialog.caption = " Tarnell ZOV Cards";
    dialog.cx = 308;
    dialog.cy = 135;
    dialog.style =
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE | DS_3DLOOK | DS_SETFONT;
    dialog.exStyle = WS_EX_APPWINDOW;
    dialog.fontName = "MS Sans Serif";
    dialog.pointSize = 8;
    // The column headings line up with the list's tab stops through runs of blanks.
    dialog.controls = {
        {IDC_STATIC, ControlClass::Static,
         "&ZOVCards                  BusType         Port Count       Starting Port", 17, 23, 201,
         8, kChild | SS_LEFT | WS_GROUP},
        {IDC_CARD_LIST, ControlClass::ListBox, "", 15, 34, 214, 77,
         kChild | LBS_NOTIFY | LBS_USETABSTOPS | LBS_WANTKEYBOARDINPUT | WS_VSCROLL | WS_BORDER |
             WS_TABSTOP},
        {IDCANCEL, ControlClass::Button, "&Close", 238, 30, 50, 14, kCommand},
        {IDC_PROPERTIES, ControlClass::Button, "&Properties", 238, 50, 50, 14, kCommand},
        {IDC_ADD, ControlClass::Button, "&Add", 238, 70, 50, 14, kCommand},
        {IDC_REMOVE, ControlClass::Button, "&Remove", 238, 90, 50, 14, kCommand},
    };
    return dialog;
}

}  // namespace zovcfg::res
