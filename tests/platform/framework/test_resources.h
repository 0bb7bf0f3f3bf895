// Small dialog templates for the framework's tests, and a fixture that runs dialogs on the dialog
// manager tests' in-memory screen with these templates as the resource module.
#pragma once

#include <gtest/gtest.h>

#include "dialog_harness.h"
#include "platform/framework/resource_handle.h"

namespace framework_test {

inline constexpr int kIddButtons = 500;   // OK, Cancel and two command buttons
inline constexpr int kIddExchange = 501;  // two radio groups

inline constexpr int kIdcFirstCommand = 600;
inline constexpr int kIdcSecondCommand = 601;
inline constexpr int kIdcSpeed4 = 620;  // first group: 620, 621, 622
inline constexpr int kIdcSpeed8 = 621;
inline constexpr int kIdcSpeed16 = 622;
inline constexpr int kIdcBusIsa = 630;  // second group: 630, 631
inline constexpr int kIdcBusPci = 631;
inline constexpr int kIdcMissing = 699;  // in no template

class FrameworkTest : public ::testing::Test {
  protected:
    FrameworkTest() {
        using namespace zov::test;
        const zov::ControlTemplate ok =
            PushButtonAt(IDOK, "OK", 10, 95, BS_DEFPUSHBUTTON | WS_GROUP);
        const zov::ControlTemplate cancel = PushButtonAt(IDCANCEL, "Cancel", 70, 95);
        constexpr DWORD kFirstInGroup = WS_GROUP | WS_TABSTOP;
        // OK and Cancel in front, so that OK has the focus when the dialog starts.
        harness_.Add(DialogOf(kIddButtons, "Buttons", 240, 120,
                              {ok, cancel, PushButtonAt(kIdcFirstCommand, "&First", 10, 10),
                               PushButtonAt(kIdcSecondCommand, "&Second", 70, 10)},
                              WS_SYSMENU));
        harness_.Add(DialogOf(
            kIddExchange, "Exchange", 240, 120,
            {RadioAt(kIdcSpeed4, "4", 100, 10, 30, kFirstInGroup),
             RadioAt(kIdcSpeed8, "8", 100, 22, 30), RadioAt(kIdcSpeed16, "16", 100, 34, 30),
             // Neither a radio button nor the start of a group: the first group goes on.
             GroupBoxAt("Bus", 140, 5, 80, 40),
             RadioAt(kIdcBusIsa, "ISA", 150, 15, 30, kFirstInGroup),
             RadioAt(kIdcBusPci, "PCI", 150, 27, 30), ok, cancel},
            WS_SYSMENU));
        AfxSetResourceHandle(Module());
    }
    void TearDown() override {
        EXPECT_FALSE(Screen().RanDry()) << "a dialog was still open when the input ran out";
        AfxSetResourceHandle(nullptr);
    }

    zov::MemoryTerminal& Screen() { return harness_.screen; }
    HINSTANCE Module() { return harness_.Module(); }

  private:
    zov::test::DialogHarness harness_;
};

}  // namespace framework_test
