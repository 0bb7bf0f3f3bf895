#include "test_resources.h"

#include <string>
#include <vector>

#include "dialog_harness.h"
#include "platform/dialog/dialog_manager.h"
#include "platform/framework/resource_handle.h"

namespace framework_test {
namespace {

using zov::test::ComboAt;
using zov::test::DialogOf;
using zov::test::GroupBoxAt;
using zov::test::PushButtonAt;
using zov::test::RadioAt;

constexpr DWORD kFirstInGroup = WS_GROUP | WS_TABSTOP;

zov::ResourceModule BuildModule() {
    const zov::ControlTemplate ok = PushButtonAt(IDOK, "OK", 10, 95, BS_DEFPUSHBUTTON | WS_GROUP);
    const zov::ControlTemplate cancel = PushButtonAt(IDCANCEL, "Cancel", 70, 95);
    zov::ResourceModule module;
    module.dialogs = {
        // OK and Cancel in front, so that OK has the focus when the dialog starts.
        DialogOf(kIddButtons, "Buttons", 240, 120,
                 {ok, cancel, PushButtonAt(kIdcFirstCommand, "&First", 10, 10),
                  PushButtonAt(kIdcSecondCommand, "&Second", 70, 10)},
                 WS_SYSMENU),
        DialogOf(kIddExchange, "Exchange", 240, 120,
                 {ComboAt(kIdcPorts, 10, 10, 60, 60),
                  RadioAt(kIdcSpeed4, "4", 100, 10, 30, kFirstInGroup),
                  RadioAt(kIdcSpeed8, "8", 100, 22, 30), RadioAt(kIdcSpeed16, "16", 100, 34, 30),
                  // Neither a radio button nor the start of a group: the first group goes on.
                  GroupBoxAt("Bus", 140, 5, 80, 40),
                  RadioAt(kIdcBusIsa, "ISA", 150, 15, 30, kFirstInGroup),
                  RadioAt(kIdcBusPci, "PCI", 150, 27, 30), ok, cancel},
                 WS_SYSMENU)};
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
