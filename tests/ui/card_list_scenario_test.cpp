// The card list as a user meets it: rows, selection, button states and the ways out.
#include <gtest/gtest.h>

#include <ostream>

#include "app_scenario.h"
#include "platform/security/credentials.h"
#include "store/card_globals.h"
#include "ui/res/resource.h"

namespace zov::test {
namespace {

using Rows = std::vector<std::string>;

class CardListScenario : public AppScenario {
  protected:
    // Checks the card list's rows, selection and enabled buttons as they are when it opens.
    void ExpectList(const Rows& rows, bool properties, bool add, bool remove) {
        Check([=] {
            EXPECT_EQ(Caption(), " Tarnell ZOV Cards");
            EXPECT_EQ(ListRows(IDC_CARD_LIST), rows);
            EXPECT_EQ(ListSelection(IDC_CARD_LIST), rows.empty() ? LB_ERR : 0);
            EXPECT_EQ(Enabled(IDC_PROPERTIES), properties);
            EXPECT_EQ(Enabled(IDC_ADD), add);
            EXPECT_EQ(Enabled(IDC_REMOVE), remove);
            EXPECT_TRUE(Enabled(IDCANCEL));
        });
    }
};

TEST_F(CardListScenario, AdministratorSeesCardsWithCardOneSelected) {
    Build(PciCardKeys(1, 8, 3) + IsaCardKeys(2, 4, 11, 0x2A0, 7));
    ExpectList({"Card1\tPCI\t8\tCOM3\t", "Card2\tISA\t4\tCOM11\t"}, true, true, true);
    Check([this] {
        EXPECT_TRUE(Shows("Card1"));
        EXPECT_TRUE(Shows("COM11"));
        EXPECT_EQ(g_nCardCount, 2);
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

TEST_F(CardListScenario, NonAdministratorMayOnlyLook) {
    Build(PciCardKeys(1, 8, 3));
    Credentials user = Credentials::OfProcess();
    user.gid = 4242;
    user.supplementary_groups = {4242};
    ScopedProcessCredentials asUser(user);
    ExpectList({"Card1\tPCI\t8\tCOM3\t"}, true, false, false);
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

TEST_F(CardListScenario, EmptyRegistryDisablesPropertiesAndRemove) {
    ExpectList({}, false, true, false);
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

TEST_F(CardListScenario, EightCardsDisableAdd) {
    std::string cards;
    for (int card = 1; card <= 8; ++card) {
        cards += PciCardKeys(card, 4, 4 * card - 3);
    }
    Build(cards);
    Check([] { EXPECT_FALSE(Enabled(IDC_ADD)); });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

TEST_F(CardListScenario, CardOneIsSelectedAlsoWithTenOrMoreCards) {
    std::string cards;
    for (int card = 1; card <= 11; ++card) {
        cards += PciCardKeys(card, 4, 4 * card - 3);
    }
    Build(cards);
    Check([] {
        ASSERT_EQ(ListRows(IDC_CARD_LIST).size(), 11U);
        EXPECT_EQ(ListSelection(IDC_CARD_LIST), 0);
        // More than eight cards made by other means: Add stays enabled and shows the notice.
        EXPECT_TRUE(Enabled(IDC_ADD));
    });
    Alt('a');
    Check([] { EXPECT_EQ(Caption(), "Error Adding Card"); });
    Press(Key::Enter);
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

TEST_F(CardListScenario, CardCountedWithoutRowKeepsItsButtons) {
    Build(std::string(kParametersPath) + "\\Card1\n  ZOVPortCount = dword:4\n");
    ExpectList({}, true, true, true);
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

struct WayOut {
    const char* name;
    std::function<void(AppScenario&, MemoryTerminal&)> leave;
};

void PrintTo(const WayOut& way, std::ostream* out) {
    *out << way.name;
}

class CardListWayOut : public CardListScenario, public ::testing::WithParamInterface<WayOut> {};

TEST_P(CardListWayOut, EndsTheRunWithNothingChanged) {
    Build(PciCardKeys(1, 8, 3));
    GetParam().leave(*this, screen);
    EXPECT_EQ(RunApp(), 0);
    EXPECT_EQ(g_nChangeCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CardListWayOut,
    ::testing::Values(
        WayOut{"Escape", [](AppScenario&, MemoryTerminal& s) { s.PushKey(Key::Escape); }},
        WayOut{"EnterInTheList", [](AppScenario&, MemoryTerminal& s) { s.PushKey(Key::Enter); }},
        WayOut{"CloseButton", [](AppScenario&, MemoryTerminal& s) { s.PushCharacter(U'c', true); }},
        WayOut{"CloseBox",
               [](AppScenario&, MemoryTerminal& s) {
                   // The close box sits at the right end of the title bar.
                   s.PushCallback([&s] {
                       int x = 0;
                       int y = 0;
                       ASSERT_TRUE(s.Find(" Tarnell ZOV Cards", &x, &y));
                       int right = x;
                       while (right + 1 < s.Width() &&
                              s.RoleAt(right + 1, y) != CellRole::Desktop &&
                              s.RoleAt(right + 1, y) != CellRole::Shadow) {
                           ++right;
                       }
                       for (int cx = right; cx > x; --cx) {
                           if (s.RoleAt(cx, y) == CellRole::CloseBox) {
                               s.PushClick(cx, y);
                               return;
                           }
                       }
                       ADD_FAILURE() << "no close box in the title bar\n" << s.Text();
                       s.PushKey(Key::Escape);
                   });
               }}),
    [](const ::testing::TestParamInfo<WayOut>& info) { return info.param.name; });

}  // namespace
}  // namespace zov::test
