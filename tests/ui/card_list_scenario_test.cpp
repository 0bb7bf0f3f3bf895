// The card list as a user meets it: rows, selection, button states and the ways out.
#include <gtest/gtest.h>

#include "app_scenario.h"
#include "platform/framework/resource_handle.h"

namespace zov::test {
namespace {

using test::PrintTo;  // found by the cases' own namespace

using CardListScenario = AppScenario;

TEST_F(CardListScenario, NonAdministratorMayOnlyOpenPropertiesAndIsToldWhy) {
    Build(PciCardKeys(1, 8, 3));
    ScopedProcessCredentials asUser(InGroup(4242));
    ExpectCardList({"Card1\tPCI\t8\tCOM3\t"}, 0, "P--");
    ExpectBox(" Tarnell ZOV Cards", "Read-only: adding or removing cards needs administrator");
    EXPECT_EQ(Leave(), 0);
}

// The fields of a row stand in the columns of the headings above them, as the card list sets
// its tab stops: the row is pinned to the headings, cell for cell.
TEST_F(CardListScenario, RowFieldsStandInTheColumnsOfTheHeadings) {
    Build(IsaCardKeys(1, 8, 13));
    Check([this] {
        int headingX = 0;
        int headingY = 0;
        int rowX = 0;
        int rowY = 0;
        ASSERT_TRUE(screen.Find("ZOVCards         BusType    Port Count   Starting Port", &headingX,
                                &headingY) &&
                    screen.Find("Card1             ISA           8    COM13  ", &rowX, &rowY))
            << screen.Text();
        EXPECT_EQ(rowX, headingX);
        EXPECT_EQ(rowY, headingY + 2);
    });
    EXPECT_EQ(Leave(), 0);
}

// The buttons at the list's boundaries: steps, each a letter: 'a' adds a card with the settings'
// defaults, 'n' presses Alt+A where Add must be off, 'r' removes the selected card, 'u' presses
// Remove while the confirmation cannot be opened.
struct ButtonCase {
    const char* name;
    std::string cards;
    std::string buttonsBefore;  // as ExpectCardList takes them: "PA-"
    const char* steps;
    std::string buttonsAfter;
    std::size_t rowsAfter;
    int exitCode;
};

class CardListButtons : public AppScenario, public ::testing::WithParamInterface<ButtonCase> {
  protected:
    void Step(char step) {
        if (step == 'u') {
            Check([] { AfxSetResourceHandle(WithoutConfirmation()); });
        }
        Alt(step == 'a' || step == 'n' ? 'a' : 'r');
        if (step == 'u') {
            Check([] { AfxSetResourceHandle(ZovcfgInstance()); });
        } else if (step != 'n') {
            Press(Key::Enter);  // Done, or Continue
        }
    }
    void ExpectButtons(const std::string& buttons) {
        Check([buttons] {
            ASSERT_EQ(Caption(), " Tarnell ZOV Cards");
            EXPECT_EQ(EnabledButtons(), buttons);
        });
    }
    // The utility's resources without the remove confirmation's template.
    static HINSTANCE WithoutConfirmation() {
        static ResourceModule module = [] {
            ResourceModule copy = ZovcfgResources();
            std::erase_if(copy.dialogs, [](const DialogTemplate& dialog) {
                return dialog.id == IDD_REMOVE_CARD;
            });
            return copy;
        }();
        return &module;
    }
};

TEST_P(CardListButtons, FollowTheCountOfCards) {
    const ButtonCase& c = GetParam();
    Build(c.cards);
    const std::string before = Parameters();
    ExpectButtons(c.buttonsBefore);
    for (const char* step = c.steps; *step != '\0'; ++step) {
        Step(*step);
    }
    ExpectButtons(c.buttonsAfter);
    Check([&c] { EXPECT_EQ(ListRows(IDC_CARD_LIST).size(), c.rowsAfter); });
    EXPECT_EQ(Leave(), c.exitCode);
    if (c.exitCode == 0) {
        EXPECT_EQ(Parameters(), before);
    }
}

// Eight cards on COM30 and up leave the defaults, COM13 to COM20, free.
const ButtonCase kBoundaries[] = {
    {"EmptyThenFirstAdd", "", "-A-", "a", "PAR", 1, 1},
    {"EighthAddedTurnsAddOff", PciCards(7, 30), "PAR", "an", "P-R", 8, 1},
    {"EightNeverTakeANinth", PciCards(8, 30), "P-R", "n", "P-R", 8, 0},
    {"EightThenOneRemovedTurnsAddOn", PciCards(8, 30), "P-R", "r", "PAR", 7, 1},
    {"LastRemovedTurnsPropertiesAndRemoveOff", PciCards(1), "PAR", "r", "-A-", 0, 1},
    {"ConfirmationThatCannotOpenRemovesNothing", PciCards(2), "PAR", "u", "PAR", 2, 0}};

INSTANTIATE_TEST_SUITE_P(Boundaries, CardListButtons, ::testing::ValuesIn(kBoundaries), kCaseName);

// (Escape: every scenario leaves the card list by it.)
struct WayOut {
    const char* name;
    std::function<void(MemoryTerminal&)> leave;
};

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

const WayOut kWays[] = {{"EnterInTheList", [](MemoryTerminal& s) { s.PushKey(Key::Enter); }},
                        {"CloseButton", [](MemoryTerminal& s) { s.PushCharacter(U'c', true); }},
                        {"CloseBox", ClickTheCloseBox}};

INSTANTIATE_TEST_SUITE_P(Ways, CardListWayOut, ::testing::ValuesIn(kWays), kCaseName);

}  // namespace
}  // namespace zov::test
