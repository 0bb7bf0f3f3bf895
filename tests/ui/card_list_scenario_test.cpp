// The card list as a user meets it: rows, selection, button states and the ways out.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "app_scenario.h"
#include "store/card_globals.h"
#include "ui/res/resource.h"

namespace zov::test {
namespace {

using CardListScenario = AppScenario;

TEST_F(CardListScenario, AdministratorSeesCardsWithCardOneSelected) {
    Build(PciCardKeys(1, 8, 3) + IsaCardKeys(2, 4, 11, 0x2A0, 7));
    ExpectCardList({"Card1\tPCI\t8\tCOM3\t", "Card2\tISA\t4\tCOM11\t"}, 0, "PAR");
    Check([] { EXPECT_EQ(g_nCardCount, 2); });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

struct ButtonCase {
    const char* name;
    std::string cards;
    bool administrator;
    Rows rows;
    const char* buttons;
};

void PrintTo(const ButtonCase& c, std::ostream* out) {
    *out << c.name;
}

class CardListButtons : public AppScenario, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(CardListButtons, FollowTheUserAndTheCardCount) {
    const ButtonCase& c = GetParam();
    Build(c.cards);
    std::optional<ScopedProcessCredentials> asUser;
    if (!c.administrator) {
        asUser.emplace(NonAdministrator());
    }
    ExpectCardList(c.rows, c.rows.empty() ? LB_ERR : 0, c.buttons);
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

// A card key without a Port1 key is counted but has no row: its buttons stay.
INSTANTIATE_TEST_SUITE_P(
    Cases, CardListButtons,
    ::testing::Values(
        ButtonCase{
            "NonAdministrator", PciCardKeys(1, 8, 3), false, {"Card1\tPCI\t8\tCOM3\t"}, "P--"},
        ButtonCase{"EmptyRegistry", "", true, {}, "-A-"},
        ButtonCase{
            "CountedWithoutRow", CardPath(1) + "\n  ZOVPortCount = dword:4\n", true, {}, "PAR"}),
    [](const ::testing::TestParamInfo<ButtonCase>& info) { return info.param.name; });

TEST_F(CardListScenario, CardOneIsSelectedAlsoWithTenOrMoreCards) {
    Build(PciCards(11));
    Check([] {
        ASSERT_EQ(ListRows(IDC_CARD_LIST).size(), 11U);
        EXPECT_EQ(ListSelection(IDC_CARD_LIST), 0);
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
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
