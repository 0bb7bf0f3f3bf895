// Placement: a dialog stays centred on the screen when the terminal is resized. (The layout of
// the utility's own templates is checked on the real templates, under tests/ui/res.)
#include <gtest/gtest.h>

#include "dialog_harness.h"

namespace zov::test {
namespace {

TEST(Placement, ResizeRecentresTheDialog) {
    DialogHarness h(80, 25);
    h.Add(DialogOf(131, "Notice", 186, 87, {PushButtonAt(IDOK, "&OK", 69, 60, BS_DEFPUSHBUTTON)},
                   WS_SYSMENU));
    RECT before{};
    RECT after{};
    h.screen.PushCallback([&] { GetWindowRect(h.last, &before); });
    h.screen.PushResize(120, 40);
    h.RunChecking(131, {}, [&] { GetWindowRect(h.last, &after); });
    EXPECT_EQ(after.left - before.left, 20);
    EXPECT_GT(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

}  // namespace
}  // namespace zov::test
