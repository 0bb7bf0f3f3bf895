#include "test_resources.h"

#include <string>

#include "platform/dialog/dialog_manager.h"
#include "platform/framework/resource_handle.h"

namespace framework_test {
namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

zov::DialogTemplate ButtonsTemplate() {
    using zov::ControlClass;
    zov::DialogTemplate dialog;
    dialog.id = kIddButtons;
    dialog.caption = "Buttons";
    dialog.cx = 200;
    dialog.cy = 80;
    dialog.style = kDialogStyle;
    dialog.controls = {
        {IDOK, ControlClass::Button, "&OK", 10, 50, 50, 14,
         kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
        {IDCANCEL, ControlClass::Button, "&Cancel", 70, 50, 50, 14,
         kChild | BS_PUSHBUTTON | WS_TABSTOP},
        {kIdcFirstCommand, ControlClass::Button, "&First", 10, 10, 50, 14,
         kChild | BS_PUSHBUTTON | WS_TABSTOP},
        {kIdcSecondCommand, ControlClass::Button, "&Second", 70, 10, 50, 14,
         kChild | BS_PUSHBUTTON | WS_TABSTOP},
    };
    return dialog;
}

zov::DialogTemplate ExchangeTemplate() {
    using zov::ControlClass;
    zov::DialogTemplate dialog;
    dialog.id = kIddExchange;
    dialog.caption = "Exchange";
    dialog.cx = 240;
    dialog.cy = 120;
    dialog.style = kDialogStyle;
    dialog.controls = {
        {kIdcPorts, ControlClass::ComboBox, "", 10, 10, 60, 60,
         kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
        {kIdcSpeed4, ControlClass::Button, "4", 100, 10, 30, 10,
         kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP},
        {kIdcSpeed8, ControlClass::Button, "8", 100, 22, 30, 10, kChild | BS_AUTORADIOBUTTON},
        {kIdcSpeed16, ControlClass::Button, "16", 100, 34, 30, 10, kChild | BS_AUTORADIOBUTTON},
        // Neither a radio button nor the start of a group: the first group goes on past it.
        {IDC_STATIC, ControlClass::Button, "Bus", 140, 5, 80, 40, kChild | BS_GROUPBOX},
        {kIdcBusIsa, ControlClass::Button, "ISA", 150, 15, 30, 10,
         kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP},
        {kIdcBusPci, ControlClass::Button, "PCI", 150, 27, 30, 10, kChild | BS_AUTORADIOBUTTON},
        {kIdcName, ControlClass::Edit, "", 10, 60, 60, 12,
         kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP},
        {IDOK, ControlClass::Button, "OK", 10, 95, 50, 14,
         kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
        {IDCANCEL, ControlClass::Button, "Cancel", 70, 95, 50, 14,
         kChild | BS_PUSHBUTTON | WS_TABSTOP},
    };
    return dialog;
}

zov::DialogTemplate ListTemplate() {
    using zov::ControlClass;
    zov::DialogTemplate dialog;
    dialog.id = kIddList;
    dialog.caption = "List";
    dialog.cx = 200;
    dialog.cy = 100;
    dialog.style = kDialogStyle;
    dialog.controls = {
        {kIdcRows, ControlClass::ListBox, "", 10, 10, 120, 50,
         kChild | LBS_NOTIFY | LBS_USETABSTOPS | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
        {kIdcNote, ControlClass::Edit, "", 10, 65, 60, 12,
         kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
        {IDOK, ControlClass::Button, "OK", 140, 10, 50, 14,
         kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
        {IDCANCEL, ControlClass::Button, "Cancel", 140, 30, 50, 14,
         kChild | BS_PUSHBUTTON | WS_TABSTOP},
    };
    return dialog;
}

zov::ResourceModule BuildModule() {
    zov::ResourceModule module;
    module.dialogs = {ButtonsTemplate(), ExchangeTemplate(), ListTemplate()};
    zov::DialogInitData ports;
    ports.dialogId = kIddExchange;
    for (int port = 1; port <= 132; ++port) {
        ports.entries.push_back({kIdcPorts, CB_ADDSTRING, "COM" + std::to_string(port)});
    }
    module.dialogInit = {ports};
    zov::IconImage icon;
    icon.id = kIdiTest;
    icon.pixels.fill(4);
    module.icons = {icon};
    return module;
}

}  // namespace

const zov::ResourceModule& TestResources() {
    static const zov::ResourceModule module = BuildModule();
    return module;
}

void FrameworkTest::SetUp() {
    terminal_ = std::make_unique<zov::MemoryTerminal>(80, 24);
    AfxSetResourceHandle(const_cast<zov::ResourceModule*>(&TestResources()));
    zov::AttachTerminal(terminal_.get());
}

void FrameworkTest::TearDown() {
    EXPECT_FALSE(terminal_->RanDry()) << "a dialog was still open when the input ran out";
    zov::AttachTerminal(nullptr);
    zov::SetThreeDimensionalLook(false);
    AfxSetResourceHandle(nullptr);
    terminal_.reset();
}

}  // namespace framework_test
