// Focus by keyboard: Tab order over tab stops, radio groups entered on their checked button,
// arrows within a group selecting automatic radio buttons, and disabled controls skipped.
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr int kDialog = 130;
constexpr int kBase = 1008;
constexpr int kIrq = 1014;
constexpr int kPorts4 = 1001;
constexpr int kPorts8 = 1002;
constexpr int kPorts16 = 1003;
constexpr int kIsa = 1011;
constexpr int kPci = 1012;

void AddSettings(DialogHarness& h) {
    h.Add(CardSettingsLike());
    h.onInit = [](HWND dialog) -> INT_PTR {
        CheckRadioButton(dialog, kPorts4, kPorts16, kPorts8);
        CheckRadioButton(dialog, kIsa, kPci, kIsa);
        return TRUE;
    };
}

TEST(TabOrder, KeysMoveTheFocusAndArrowsCheckTheRadioButtonTheyReach) {
    struct Case {
        int tabs;
        std::vector<Key> then;
        int focus;
        int ports;  // the checked button of each group afterwards
        int bus;
    };
    const std::vector<Case> cases = {
        {0, {}, kBase, kPorts8, kIsa},                 // the first tab stop
        {3, {}, kPorts8, kPorts8, kIsa},               // a group's checked button
        {4, {}, kIsa, kPorts8, kIsa},                  // the next group's
        {5, {}, IDOK, kPorts8, kIsa},                  // then the buttons
        {7, {}, kBase, kPorts8, kIsa},                 // wraps to the first
        {0, {Key::BackTab}, IDCANCEL, kPorts8, kIsa},  // and back to the last
        {3, {Key::Down}, kPorts16, kPorts16, kIsa},
        {3, {Key::Down, Key::Down}, kPorts4, kPorts4, kIsa},  // wraps within the group
        {4, {Key::Right}, kPci, kPorts8, kPci},
    };
    for (std::size_t row = 0; row < cases.size(); ++row) {
        const Case& c = cases[row];
        SCOPED_TRACE(row);
        DialogHarness h;
        AddSettings(h);
        std::vector<KeyEvent> keys(static_cast<std::size_t>(c.tabs), K(Key::Tab));
        for (Key key : c.then) {
            keys.push_back(K(key));
        }
        h.RunChecking(kDialog, keys, [&] {
            EXPECT_EQ(FocusId(), c.focus);
            for (int id : {kPorts4, kPorts8, kPorts16, kIsa, kPci}) {
                const bool checked = id == c.ports || id == c.bus;
                EXPECT_EQ(IsDlgButtonChecked(h.last, id), checked ? BST_CHECKED : BST_UNCHECKED)
                    << id;
            }
        });
        // A radio button checked by an arrow notifies its dialog.
        EXPECT_EQ(h.CountOf({c.ports, BN_CLICKED}) > 0, c.ports != kPorts8);
        EXPECT_EQ(h.CountOf({c.bus, BN_CLICKED}) > 0, c.bus != kIsa);
    }
}

TEST(DisabledControls, AreDimmedSkippedByTabAndIgnoreClicks) {
    DialogHarness h;
    AddSettings(h);
    h.screen.PushCallback([&] { EnableWindow(h.Item(IDOK), FALSE); });
    h.RunChecking(kDialog, {K(Key::BackTab), K(Key::BackTab)}, [&] {
        EXPECT_EQ(FocusId(), kIsa);  // Cancel, then past Done
        const Spot done = h.Locate("Done");
        EXPECT_EQ(h.screen.RoleAt(done.x, done.y), CellRole::Disabled);
        h.screen.PushClick(done.x, done.y);
    });
    EXPECT_FALSE(h.Sent(IDOK));
}

TEST(DisabledControls, DisablingTheFocusedControlMovesTheFocusOn) {
    DialogHarness h;
    AddSettings(h);
    int focus = 0;
    h.screen.PushCallback([&] {
        EXPECT_EQ(FocusId(), kBase);
        EXPECT_FALSE(EnableWindow(h.Item(kBase), FALSE));  // was enabled
        focus = FocusId();
        EXPECT_EQ(SetFocus(h.Item(kBase)), nullptr);     // a disabled control takes no focus
        EXPECT_TRUE(EnableWindow(h.Item(kBase), TRUE));  // was disabled
        EXPECT_EQ(SetFocus(h.Item(IDCANCEL)), h.Item(kIrq));
    });
    h.screen.PushKey(Key::Enter);  // the focused Cancel button
    EXPECT_EQ(h.Run(kDialog), IDCANCEL);
    EXPECT_EQ(focus, kIrq);
}

}  // namespace
}  // namespace zov::test
