// Template 130: the settings of a new card.
#include "ui/res/dialog_templates.h"
#include "ui/res/resource.h"

namespace zovcfg::res {

zov::DialogTemplate CardSettingsTemplate() {
    using zov::ControlClass;
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    constexpr DWORD kDropDownList = kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    constexpr DWORD kLabel = kChild | SS_LEFT | WS_GROUP;

    zov::DialogTemplate dialog;
    dialog.id = IDD_CARD_SETTINGS;
    dialog.caption = "ZOV Card Settings";
    dialog.cx = 256;
    dialog.cy = 135;
    dialog.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    dialog.fontName = "MS Sans Serif";
    dialog.pointSize = 8;
    // The height of a drop-down list is that of its opened list.
    dialog.controls = {
        {IDC_STATIC, ControlClass::Button, "Card Settings", 17, 12, 110, 92,
         kChild | BS_GROUPBOX | BS_LEFT},
        {IDC_BASE_ADDRESS, ControlClass::ComboBox, "", 69, 30, 48, 69, kDropDownList | CBS_SORT},
        {IDC_IRQ, ControlClass::ComboBox, "", 69, 53, 48, 48, kDropDownList},
        {IDC_STARTING_PORT, ControlClass::ComboBox, "", 69, 78, 48, 63,
         kDropDownList | CBS_UPPERCASE},
        {IDC_STATIC, ControlClass::Button, "&Port Count", 146, 12, 87, 52, kChild | BS_GROUPBOX},
        {IDC_PORTS_4, ControlClass::Button, "4 Ports", 170, 22, 38, 10,
         kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP},
        {IDC_PORTS_8, ControlClass::Button, "8 Ports", 170, 37, 36, 10,
         kChild | BS_AUTORADIOBUTTON},
        {IDC_PORTS_16, ControlClass::Button, "16 Ports", 170, 52, 39, 10,
         kChild | BS_AUTORADIOBUTTON},
        {IDC_STATIC, ControlClass::Button, "BusType", 146, 68, 87, 36, kChild | BS_GROUPBOX},
        {IDC_BUS_ISA, ControlClass::Button, "ISA", 170, 78, 26, 10,
         kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP},
        {IDC_BUS_PCI, ControlClass::Button, "PCI", 170, 92, 30, 10,
         kChild | BS_AUTORADIOBUTTON | WS_TABSTOP},
        {IDOK, ControlClass::Button, "&Done", 40, 114, 50, 14,
         kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP},
        {IDCANCEL, ControlClass::Button, "&Cancel", 159, 114, 50, 14,
         kChild | BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_STATIC, ControlClass::Static, "Base Address", 22, 32, 45, 10, kLabel},
        {IDC_STATIC, ControlClass::Static, "IRQ", 22, 55, 45, 10, kLabel},
        {IDC_STATIC, ControlClass::Static, "Starting Port", 22, 78, 42, 13, kLabel},
    };
    return dialog;
}

}  // namespace zovcfg::res
