// How the desktop places and draws what is around the active dialog: centred on resizes, its own
// note below the first dialog, the too-small notice, and focus on a drop-down list. (The inactive
// owner: nested_modal_test.cpp; the layout of the utility's own templates: tests/ui/res.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_harness.h"

namespace zov::test {
namespace {

TEST(Placement, ResizeRecentresTheDialog) {
    DialogHarness h(CardListLike(), 80, 25);
    RECT before{};
    RECT after{};
    h.screen.PushCallback([&] { GetWindowRect(h.last, &before); });
    h.screen.PushResize(120, 40);
    h.RunChecking(kCardList, {}, [&] { GetWindowRect(h.last, &after); });
    EXPECT_EQ(after.left - before.left, 20);
    EXPECT_GT(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

TEST(DesktopLook, TheNoteStandsBelowTheFirstDialogAndLeavesItAsDrawn) {
    const std::string note = "Read-only: changes need administrator rights.";
    std::vector<std::string> without;
    std::vector<std::string> with;
    RECT rect{};
    for (const bool shown : {false, true}) {
        DialogHarness h(CardListLike(), 80, 24);
        SetDesktopNote(shown ? note : "");
        h.RunChecking(kCardList, {}, [&] {
            GetWindowRect(h.last, &rect);
            (shown ? with : without) = h.screen.Lines();
        });
    }
    SetDesktopNote("");
    ASSERT_LT(rect.bottom, 24);
    for (int y = 0; y < rect.bottom; ++y) {
        EXPECT_EQ(with[static_cast<std::size_t>(y)], without[static_cast<std::size_t>(y)]) << y;
    }
    EXPECT_EQ(with[static_cast<std::size_t>(rect.bottom)].find(note),
              static_cast<std::size_t>(rect.left));
}

TEST(DesktopLook, TheTooSmallNoticeKeepsTheSizeOnOneLineAtEveryWidth) {
    for (int width = 12; width <= 60; ++width) {
        DialogHarness h(CardListLike(), width, 10);
        h.RunChecking(kCardList, {}, [&] {
            RECT rect{};
            GetWindowRect(h.last, &rect);
            const std::string size = std::to_string(rect.right - rect.left) + " x " +
                                     std::to_string(rect.bottom - rect.top) + ".";
            EXPECT_TRUE(h.Shows(size)) << "width " << width << "\n" << h.screen.Text();
        });
    }
}

TEST(DesktopLook, AFocusedDropDownShowsItsEntrySelected) {
    for (const bool focused : {true, false}) {
        DialogHarness h(CardSettingsLike());
        h.onInit = [&](HWND) -> INT_PTR {
            h.Send(kBaseCombo, CB_ADDSTRING, 0, "200");
            h.Send(kBaseCombo, CB_SETCURSEL);
            return TRUE;
        };
        // The combo is the first tab stop; a Tab moves on from it.
        h.RunChecking(kCardSettings, std::vector<KeyEvent>(focused ? 0 : 1, K(Key::Tab)), [&] {
            EXPECT_EQ(FocusId() == kBaseCombo, focused);
            const Spot entry = h.Locate("200");
            EXPECT_EQ(h.screen.RoleAt(entry.x, entry.y),
                      focused ? CellRole::SelectionFocused : CellRole::Field);
        });
    }
}

}  // namespace
}  // namespace zov::test
