// Removing a card as a user does it: the confirmation and its answers, the list, buttons and
// registry afterwards, a removal the registry refuses, and the notices of an empty list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "app_scenario.h"
#include "platform/registry/registry_database.h"
#include "store/card_globals.h"
#include "ui/res/resource.h"

namespace zov::test {
namespace {

using Rows = std::vector<std::string>;

constexpr const char* kQuestion = "Do you want to Continue removing the Card ?";
constexpr const char* kCardListCaption = " Tarnell ZOV Cards";

// Cards 1 to count, each a PCI card with four ports, card k on COM4k-3 to COM4k.
std::string FourPortCards(int count) {
    std::string cards;
    for (int card = 1; card <= count; ++card) {
        cards += PciCardKeys(card, 4, 4 * card - 3);
    }
    return cards;
}

class RemoveCardScenario : public AppScenario {
  protected:
    void SetUp() override {
        AppScenario::SetUp();
        // The saved-key file of a renumbering goes into this test's own directory.
        setenv("SystemDrive", Dir().c_str(), 1);
    }
    void TearDown() override {
        FailAtWrite(0);
        unsetenv("SystemDrive");
        AppScenario::TearDown();
    }

    // Makes the k-th registry write from now on fail (0: none); takes effect when the database
    // is opened again, which closing it forces.
    static void FailAtWrite(int k) {
        if (k == 0) {
            unsetenv("ZOVCFG_FAULT_AT_WRITE");
            unsetenv("ZOVCFG_FAULT_MODE");
        } else {
            setenv("ZOVCFG_FAULT_AT_WRITE", std::to_string(k).c_str(), 1);
            setenv("ZOVCFG_FAULT_MODE", "fail", 1);
        }
        CloseRegistryDatabase();
    }

    // The dump of the Parameters key of a registry that holds just these cards, built in a
    // scratch database so that the test's own registry stays as it is.
    std::string LayoutOf(const std::string& cards) {
        const std::string database = DatabasePath();
        setenv("ZOVCFG_REGISTRY", PathInDir("expected.db").c_str(), 1);
        CloseRegistryDatabase();
        Build(cards);
        std::string layout = Parameters();
        CloseRegistryDatabase();
        setenv("ZOVCFG_REGISTRY", database.c_str(), 1);
        return layout;
    }

    // Moves the selection from card 1's row down to the given row (1-based), as the list has
    // the focus when the card list opens.
    void SelectRow(int row) {
        for (int i = 1; i < row; ++i) {
            Press(Key::Down);
        }
    }

    // Checks the confirmation in front: its caption names the card, it asks the fixed question,
    // Continue has the focus and the title line has no close box.
    void ExpectConfirmation(int card) {
        Check([this, card] {
            EXPECT_EQ(Caption(), "Removing Card" + std::to_string(card));
            EXPECT_EQ(ControlText(IDC_STATIC), kQuestion);
            EXPECT_TRUE(Shows(kQuestion)) << screen.Text();
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDOK);
            EXPECT_EQ(ControlText(IDOK), "&Continue");
            EXPECT_EQ(ControlText(IDCANCEL), "&Abort");
            EXPECT_FALSE(TitleHasCloseBox(Caption())) << screen.Text();
        });
    }

    // Checks that the card list is in front again with these rows and buttons.
    void ExpectList(const Rows& rows, bool properties, bool add, bool remove) {
        Check([=] {
            EXPECT_EQ(Caption(), kCardListCaption);
            EXPECT_EQ(ListRows(IDC_CARD_LIST), rows);
            EXPECT_EQ(Enabled(IDC_PROPERTIES), properties);
            EXPECT_EQ(Enabled(IDC_ADD), add);
            EXPECT_EQ(Enabled(IDC_REMOVE), remove);
        });
    }

    // Whether the screen line on which the caption stands holds a close box.
    bool TitleHasCloseBox(const std::string& caption) const {
        int x = 0;
        int y = 0;
        if (!screen.Find(caption, &x, &y)) {
            ADD_FAILURE() << "caption \"" << caption << "\" not on screen\n" << screen.Text();
            return false;
        }
        for (int cx = 0; cx < screen.Width(); ++cx) {
            if (screen.RoleAt(cx, y) == CellRole::CloseBox) {
                return true;
            }
        }
        return false;
    }
};

// ---------------------------------------------------------------------------------------------
// The confirmation and its answers.

const Rows kThreeRows = {"Card1\tPCI\t8\tCOM3\t", "Card2\tISA\t4\tCOM11\t",
                         "Card3\tPCI\t4\tCOM15\t"};

std::string ThreeCards() {
    return PciCardKeys(1, 8, 3) + IsaCardKeys(2, 4, 11, 0x2A0, 7) + PciCardKeys(3, 4, 15);
}

// A way to answer the dialog in front: keys a user presses.
struct Answer {
    const char* name;
    std::function<void(MemoryTerminal&)> give;
};

void PrintTo(const Answer& answer, std::ostream* out) {
    *out << answer.name;
}

class RemoveCardConfirmed : public RemoveCardScenario,
                            public ::testing::WithParamInterface<Answer> {};
class RemoveCardRefused : public RemoveCardScenario,
                          public ::testing::WithParamInterface<Answer> {};

TEST_P(RemoveCardConfirmed, RemovesCardTwoAndMovesCardThreeDown) {
    Build(ThreeCards());
    const std::string expected = LayoutOf(PciCardKeys(1, 8, 3) + PciCardKeys(2, 4, 15));
    SelectRow(2);
    Alt('r');
    ExpectConfirmation(2);
    GetParam().give(screen);
    ExpectList({"Card1\tPCI\t8\tCOM3\t", "Card2\tPCI\t4\tCOM15\t"}, true, true, true);
    Check([] {
        // A confirmed removal refreshes the list, which selects card 1's row again.
        EXPECT_EQ(ListSelection(IDC_CARD_LIST), 0);
        EXPECT_EQ(g_nCardCount, 2);
        EXPECT_EQ(g_nChangeCount, 1);
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 1);
    EXPECT_EQ(Parameters(), expected);
    EXPECT_FALSE(Exists(PathInDir("ZOVsavREG"))) << "the saved-key file was left behind";
}

TEST_P(RemoveCardRefused, ChangesNothing) {
    Build(ThreeCards());
    const std::string before = Parameters();
    SelectRow(2);
    Alt('r');
    ExpectConfirmation(2);
    GetParam().give(screen);
    ExpectList(kThreeRows, true, true, true);
    Check([] {
        // No census ran: the row the user picked is still selected.
        EXPECT_EQ(ListSelection(IDC_CARD_LIST), 1);
        EXPECT_EQ(g_nChangeCount, 0);
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
    EXPECT_EQ(Parameters(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, RemoveCardConfirmed,
    ::testing::Values(Answer{"ContinueButton",
                             [](MemoryTerminal& s) { s.PushCharacter(U'c', true); }},
                      Answer{"Enter", [](MemoryTerminal& s) { s.PushKey(Key::Enter); }}),
    [](const ::testing::TestParamInfo<Answer>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Ways, RemoveCardRefused,
    ::testing::Values(Answer{"AbortButton", [](MemoryTerminal& s) { s.PushCharacter(U'a', true); }},
                      Answer{"TabToAbortAndEnter",
                             [](MemoryTerminal& s) {
                                 s.PushKey(Key::Tab);
                                 s.PushKey(Key::Enter);
                             }},
                      Answer{"Escape", [](MemoryTerminal& s) { s.PushKey(Key::Escape); }}),
    [](const ::testing::TestParamInfo<Answer>& info) { return info.param.name; });

TEST_F(RemoveCardScenario, CardListKeepsItsCloseBoxWhileTheConfirmationHasNone) {
    // The close box check above can fail: the card list's own title line has one.
    Build(ThreeCards());
    Check([this] { EXPECT_TRUE(TitleHasCloseBox(kCardListCaption)) << screen.Text(); });
    Alt('r');
    ExpectConfirmation(1);
    Press(Key::Escape);
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
}

// ---------------------------------------------------------------------------------------------
// Buttons after a removal.

TEST_F(RemoveCardScenario, RemovingTheLastCardDisablesRemoveAndProperties) {
    Build(PciCardKeys(1, 4, 1));
    Alt('r');
    ExpectConfirmation(1);
    Press(Key::Enter);
    ExpectList({}, false, true, false);
    Check([] {
        EXPECT_EQ(g_nCardCount, 0);
        EXPECT_EQ(ListSelection(IDC_CARD_LIST), LB_ERR);
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 1);
    EXPECT_EQ(Parameters().find("Card"), std::string::npos) << Parameters();
}

TEST_F(RemoveCardScenario, RemovingOneOfEightCardsEnablesAddAgain) {
    Build(FourPortCards(8));
    Check([] { EXPECT_FALSE(Enabled(IDC_ADD)); });
    SelectRow(4);
    Alt('r');
    ExpectConfirmation(4);
    Press(Key::Enter);
    Check([] {
        const Rows rows = ListRows(IDC_CARD_LIST);
        ASSERT_EQ(rows.size(), 7U);
        // Card 5 (COM17) moved down to number 4, card 8 (COM29) to number 7.
        EXPECT_EQ(rows[3], "Card4\tPCI\t4\tCOM17\t");
        EXPECT_EQ(rows[6], "Card7\tPCI\t4\tCOM29\t");
        EXPECT_TRUE(Enabled(IDC_ADD));
        EXPECT_TRUE(Enabled(IDC_REMOVE));
        EXPECT_TRUE(Enabled(IDC_PROPERTIES));
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 1);
}

// ---------------------------------------------------------------------------------------------
// Ten or more cards: the row of Card10 is card 10.

TEST_F(RemoveCardScenario, RowOfCardTenRemovesCardTenNotCardOne) {
    Build(FourPortCards(11));
    // Cards 1 to 9 as they were, card 11 (COM41) moved down to number 10.
    const std::string expected = LayoutOf(FourPortCards(9) + PciCardKeys(10, 4, 41));
    SelectRow(10);
    Check([] { EXPECT_EQ(ListRows(IDC_CARD_LIST).at(9), "Card10\tPCI\t4\tCOM37\t"); });
    Alt('r');
    ExpectConfirmation(10);
    Press(Key::Enter);
    Check([] {
        const Rows rows = ListRows(IDC_CARD_LIST);
        ASSERT_EQ(rows.size(), 10U);
        EXPECT_EQ(rows[0], "Card1\tPCI\t4\tCOM1\t");
        EXPECT_EQ(rows[9], "Card10\tPCI\t4\tCOM41\t");
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 1);
    EXPECT_EQ(Parameters(), expected);
}

// ---------------------------------------------------------------------------------------------
// A removal the registry refuses.

TEST_F(RemoveCardScenario, FailedRemovalIsReportedLeavesTheRegistryAndStillCounts) {
    Build(ThreeCards());
    const std::string before = Parameters();
    SelectRow(2);
    Alt('r');
    ExpectConfirmation(2);
    // Moving card 3 over card 2 is the removal's first registry write.
    Check([] { FailAtWrite(1); });
    Press(Key::Enter);
    Check([this] {
        EXPECT_EQ(Caption(), "zovcfg");
        EXPECT_TRUE(Shows("RegRestoreKey returned ")) << screen.Text();
    });
    Press(Key::Enter);
    Check([] { FailAtWrite(0); });
    ExpectList(kThreeRows, true, true, true);
    Check([] {
        // The list was taken again all the same: card 1's row is selected once more.
        EXPECT_EQ(ListSelection(IDC_CARD_LIST), 0);
        EXPECT_EQ(g_nChangeCount, 1);
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 1);
    EXPECT_EQ(Parameters(), before);
    EXPECT_FALSE(Exists(PathInDir("ZOVsavREG"))) << "the saved-key file was left behind";
}

// ---------------------------------------------------------------------------------------------
// The notices of an empty list: a card key without a Port1 key is counted but has no row, so
// Properties and Remove stay enabled and explain themselves.

struct Notice {
    const char* name;
    char command;  // the card list button's mnemonic
    const char* caption;
    const char* text;
    const char* lastLine;  // short enough to stand on one screen line
};

void PrintTo(const Notice& notice, std::ostream* out) {
    *out << notice.name;
}

using NoticeCase = std::tuple<Notice, Answer>;

class RemoveCardEmptyListNotice : public RemoveCardScenario,
                                  public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(RemoveCardEmptyListNotice, ExplainsAndChangesNothing) {
    const Notice& notice = std::get<0>(GetParam());
    const Answer& closing = std::get<1>(GetParam());
    Build(std::string(kParametersPath) + "\\Card1\n  ZOVPortCount = dword:4\n");
    const std::string before = Parameters();
    Alt(notice.command);
    Check([this, &notice] {
        EXPECT_EQ(Caption(), notice.caption);
        // The notice's one static text as a whole; the screen wraps its long lines.
        EXPECT_EQ(ControlText(IDC_STATIC), notice.text);
        EXPECT_TRUE(Shows(notice.lastLine)) << screen.Text();
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDOK);
        EXPECT_FALSE(TitleHasCloseBox(notice.caption)) << screen.Text();
    });
    closing.give(screen);
    ExpectList({}, true, true, true);
    Check([] {
        EXPECT_EQ(g_nCardCount, 1);
        EXPECT_EQ(g_nChangeCount, 0);
    });
    Press(Key::Escape);
    EXPECT_EQ(RunApp(), 0);
    EXPECT_EQ(Parameters(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Notices, RemoveCardEmptyListNotice,
    ::testing::Combine(
        ::testing::Values(Notice{"Properties", 'p', "Error Displaying Card Properties",
                                 "No ZOV Cards have been configured on this system.\n\n"
                                 "Cannot display any  Properties.",
                                 "Cannot display any  Properties."},
                          Notice{"Remove", 'r', "Error Removing  Card",
                                 "There are no ZOV cards installed  on this system.\n\n"
                                 "Cannot remove any card.",
                                 "Cannot remove any card."}),
        ::testing::Values(Answer{"Enter", [](MemoryTerminal& s) { s.PushKey(Key::Enter); }},
                          Answer{"OkButton",
                                 [](MemoryTerminal& s) { s.PushCharacter(U'o', true); }},
                          Answer{"Escape", [](MemoryTerminal& s) { s.PushKey(Key::Escape); }})),
    [](const ::testing::TestParamInfo<NoticeCase>& info) {
        return std::string(std::get<0>(info.param).name) + "ClosedBy" +
               std::get<1>(info.param).name;
    });

}  // namespace
}  // namespace zov::test
