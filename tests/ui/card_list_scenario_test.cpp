// The card list as a user meets it: rows, selection, button states and the ways out.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "app_scenario.h"
#include "store/card_globals.h"
#include "ui/res/resource.h"

namespace zov::test {
namespace {

using CardListScenario = AppScenario;

TEST_F(CardListScenario, NonAdministratorMayOnlyOpenPropertiesAndIsToldWhy) {
    Build(PciCardKeys(1, 8, 3));
    ScopedProcessCredentials asUser(NonAdministrator());
    ExpectCardList({"Card1\tPCI\t8\tCOM3\t"}, 0, "P--");
    Check(
        [this] { EXPECT_TRUE(Shows("Read-only: adding or removing cards needs administrator")); });
    EXPECT_EQ(Leave(), 0);
}

struct WayOut {
    const char* name;
    std::function<void(MemoryTerminal&)> leave;
};

void PrintTo(const WayOut& way, std::ostream* out) {
    *out << way.name;
}

class CardListWayOut : public AppScenario, public ::testing::WithParamInterface<WayOut> {};

TEST_P(CardListWayOut, EndsTheRunWithNothingChanged) {
    Build(PciCardKeys(1, 8, 3));
    GetParam().leave(screen);
    EXPECT_EQ(RunApp(), 0);
    EXPECT_EQ(g_nChangeCount, 0);
}

void ClickTheCloseBox(MemoryTerminal& s) {
    s.PushCallback([&s] {
        int x = 0;
        int y = 0;
        ASSERT_TRUE(FindCloseBox(s, " Tarnell ZOV Cards", &x, &y)) << s.Text();
        s.PushClick(x, y);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CardListWayOut,
    ::testing::Values(WayOut{"Escape", [](MemoryTerminal& s) { s.PushKey(Key::Escape); }},
                      WayOut{"EnterInTheList", [](MemoryTerminal& s) { s.PushKey(Key::Enter); }},
                      WayOut{"CloseButton", [](MemoryTerminal& s) { s.PushCharacter(U'c', true); }},
                      WayOut{"CloseBox", ClickTheCloseBox}),
    [](const ::testing::TestParamInfo<WayOut>& info) { return info.param.name; });

}  // namespace
}  // namespace zov::test
