// Template 132: the stored properties of one card, read-only.
#include "ui/res/dialog_templates.h"
#include "ui/res/resource.h"

namespace zovcfg::res {

zov::DialogTemplate CardPropertiesTemplate() {
    using zov::ControlClass;
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    constexpr DWORD kField = kChild | ES_READONLY | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    constexpr DWORD kGroupBox = kChild | BS_GROUPBOX;
    constexpr DWORD kLabel = kChild | SS_LEFT | WS_GROUP;

    zov::DialogTemplate dialog;
    dialog.id = IDD_CARD_PROPERTIES;
    dialog.caption = "Card Properties";
    dialog.cx = 305;
    dialog.cy = 142;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.fontName = "MS Sans Serif";
    dialog.pointSize = 8;
    dialog.controls = {
        {IDOK, ControlClass::Button, "OK", 242, 17, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
        {IDCANCEL, ControlClass::Button, "Cancel", 242, 34, 50, 14,
         kChild | BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_STATIC, ControlClass::Button, "Card Properties", 16, 13, 109, 108, kGroupBox},
        {IDC_EDIT_CARD_NUMBER, ControlClass::Edit, "", 185, 27, 40, 15, kField},
        {IDC_EDIT_PORT_COUNT, ControlClass::Edit, "", 185, 69, 40, 15, kField},
        {IDC_EDIT_STARTING_PORT, ControlClass::Edit, "", 185, 98, 40, 15, kField},
        {IDC_EDIT_PCI_BUS, ControlClass::Edit, "", 79, 76, 38, 15, kField},
        {IDC_EDIT_BASE_ADDRESS, ControlClass::Edit, "", 79, 29, 38, 15, kField},
        {IDC_EDIT_IRQ, ControlClass::Edit, "", 79, 53, 38, 15, kField},
        {IDC_EDIT_PCI_SLOT, ControlClass::Edit, "", 79, 100, 38, 15, kField},
        {IDC_STATIC, ControlClass::Static, "Base Address", 26, 32, 45, 13, kLabel},
        {IDC_STATIC, ControlClass::Static, "IRQ Used", 26, 57, 45, 13, kLabel},
        {IDC_STATIC, ControlClass::Static, "PCI Bus", 26, 80, 45, 13, kLabel},
        {IDC_STATIC, ControlClass::Static, "PCI Slot", 26, 103, 45, 13, kLabel},
        {IDC_STATIC, ControlClass::Button, "Card Identity", 131, 13, 97, 35, kGroupBox},
        {IDC_STATIC, ControlClass::Static, "Card Number", 135, 29, 46, 15, kLabel},
        {IDC_STATIC, ControlClass::Button, "Port  Properties", 131, 54, 97, 67, kGroupBox},
        {IDC_STATIC, ControlClass::Static, "No Of Ports", 137, 72, 42, 15, kLabel},
        {IDC_STATIC, ControlClass::Static, "Starting Port", 137, 101, 45, 12, kLabel},
    };
    return dialog;
}

}  // namespace zovcfg::res
