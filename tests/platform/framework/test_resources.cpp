#include "test_resources.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialog/dialog_manager.h"
#include "platform/framework/resource_handle.h"

namespace framework_test {
namespace {

using zov::ControlClass;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kRadio = kChild | BS_AUTORADIOBUTTON;
constexpr DWORD kFirstInGroup = WS_GROUP | WS_TABSTOP;

// A dialog template whose OK and Cancel buttons follow the given controls.
zov::DialogTemplate Template(int id, const char* caption,
                             std::vector<zov::ControlTemplate> controls) {
    zov::DialogTemplate dialog;
    dialog.id = id;
    dialog.caption = caption;
    dialog.cx = 240;
    dialog.cy = 120;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.controls = std::move(controls);
    dialog.controls.push_back({IDOK, ControlClass::Button, "OK", 10, 95, 50, 14,
                               kChild | BS_DEFPUSHBUTTON | kFirstInGroup});
    dialog.controls.push_back({IDCANCEL, ControlClass::Button, "Cancel", 70, 95, 50, 14,
                               kChild | BS_PUSHBUTTON | WS_TABSTOP});
    return dialog;
}

// OK and Cancel moved in front, so that OK has the focus when the dialog starts.
zov::DialogTemplate ButtonsFirst(zov::DialogTemplate dialog) {
    std::rotate(dialog.controls.begin(), dialog.controls.end() - 2, dialog.controls.end());
    return dialog;
}

zov::ResourceModule BuildModule() {
    zov::ResourceModule module;
    module.dialogs = {
        ButtonsFirst(Template(kIddButtons, "Buttons",
                              {{kIdcFirstCommand, ControlClass::Button, "&First", 10, 10, 50, 14,
                                kChild | BS_PUSHBUTTON | WS_TABSTOP},
                               {kIdcSecondCommand, ControlClass::Button, "&Second", 70, 10, 50, 14,
                                kChild | BS_PUSHBUTTON | WS_TABSTOP}})),
        Template(
            kIddExchange, "Exchange",
            {{kIdcPorts, ControlClass::ComboBox, "", 10, 10, 60, 60,
              kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
             {kIdcSpeed4, ControlClass::Button, "4", 100, 10, 30, 10, kRadio | kFirstInGroup},
             {kIdcSpeed8, ControlClass::Button, "8", 100, 22, 30, 10, kRadio},
             {kIdcSpeed16, ControlClass::Button, "16", 100, 34, 30, 10, kRadio},
             // Neither a radio button nor the start of a group: the first group goes on.
             {IDC_STATIC, ControlClass::Button, "Bus", 140, 5, 80, 40, kChild | BS_GROUPBOX},
             {kIdcBusIsa, ControlClass::Button, "ISA", 150, 15, 30, 10, kRadio | kFirstInGroup},
             {kIdcBusPci, ControlClass::Button, "PCI", 150, 27, 30, 10, kRadio}})};
    zov::DialogInitData ports;
    ports.dialogId = kIddExchange;
    for (int port = 1; port <= 132; ++port) {
        ports.entries.push_back({kIdcPorts, CB_ADDSTRING, "COM" + std::to_string(port)});
    }
    module.dialogInit = {ports};
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
