// Templates 131, 133, 134 and 135: the three notices and the removal confirmation. Each notice
// text is two lines with an empty line between them.
#include "store/card_choices.h"
#include "ui/res/dialog_templates.h"
#include "ui/res/resource.h"

namespace zovcfg::res {
namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDefaultButton = kChild | BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr DWORD kCentredText = kChild | SS_CENTER | WS_GROUP;

zov::DialogTemplate NoticeFrame(int id, const char* caption, int cx, int cy, DWORD extraStyle) {
    zov::DialogTemplate dialog;
    dialog.id = id;
    dialog.caption = caption;
    dialog.cx = cx;
    dialog.cy = cy;
    dialog.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | extraStyle;
    dialog.fontName = "MS Sans Serif";
    dialog.pointSize = 8;
    return dialog;
}

}  // namespace

zov::DialogTemplate AddCardErrorTemplate() {
    using zov::ControlClass;
    // The only notice with a system menu, and so with a close box.
    zov::DialogTemplate dialog =
        NoticeFrame(IDD_ADD_CARD_ERROR, zov::kCardLimitCaption, 186, 87, WS_SYSMENU);
    dialog.controls = {
        {IDOK, ControlClass::Button, "&OK", 69, 60, 50, 14, kDefaultButton},
        {IDC_STATIC, ControlClass::Static, zov::kCardLimitText, 15, 14, 153, 36, kCentredText},
    };
    return dialog;
}

zov::DialogTemplate PropertiesErrorTemplate() {
    using zov::ControlClass;
    zov::DialogTemplate dialog =
        NoticeFrame(IDD_PROPERTIES_ERROR, "Error Displaying Card Properties", 186, 87, 0);
    dialog.controls = {
        {IDOK, ControlClass::Button, "&OK", 67, 59, 50, 14, kDefaultButton},
        {IDC_STATIC, ControlClass::Static,
         "No ZOV Cards have been configured on this system.\n\nCannot display any  Properties.", 15,
         14, 151, 37, kCentredText},
    };
    return dialog;
}

zov::DialogTemplate RemoveErrorTemplate() {
    using zov::ControlClass;
    zov::DialogTemplate dialog = NoticeFrame(IDD_REMOVE_ERROR, "Error Removing  Card", 186, 90, 0);
    dialog.controls = {
        {IDOK, ControlClass::Button, "&OK", 69, 69, 50, 14, kDefaultButton},
        {IDC_STATIC, ControlClass::Static,
         "There are no ZOV cards installed  on this system.\n\nCannot remove any card.", 15, 17,
         155, 38, kCentredText},
    };
    return dialog;
}

zov::DialogTemplate RemoveCardTemplate() {
    using zov::ControlClass;
    // The caption is set when the dialog opens, with the number of the card.
    zov::DialogTemplate dialog = NoticeFrame(IDD_REMOVE_CARD, "", 217, 85, 0);
    dialog.controls = {
        {IDOK, ControlClass::Button, "&Continue", 30, 64, 50, 14, kDefaultButton},
        {IDCANCEL, ControlClass::Button, "&Abort", 131, 64, 50, 14,
         kChild | BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_STATIC, ControlClass::Static, "Do you want to Continue removing the Card ?", 17, 25,
         182, 19, kCentredText},
    };
    return dialog;
}

}  // namespace zovcfg::res
