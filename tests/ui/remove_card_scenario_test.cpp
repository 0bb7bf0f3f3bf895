// Removing a card as a user does it: the confirmation and its answers, the list, buttons and
// registry afterwards, a removal the registry refuses, and the notices of an empty list. (Which
// of these dialogs have a close box: their golden screens under res/golden.)
#include <gtest/gtest.h>

#include "app_scenario.h"

namespace zov::test {
namespace {

using test::PrintTo;  // found by the cases' own namespace

const Rows kThreeRows = {"Card1\tPCI\t8\tCOM3\t", "Card2\tISA\t4\tCOM11\t",
                         "Card3\tPCI\t4\tCOM15\t"};

std::string ThreeCards() {
    return PciCardKeys(1, 8, 3) + IsaCardKeys(2, 4, 11, 0x2A0, 7) + PciCardKeys(3, 4, 15);
}

class RemoveCardScenario : public AppScenario {
  protected:
    // Selects the given row (1-based) with the arrow keys, then presses Remove and checks the
    // confirmation: its caption names the card and Continue has the focus.
    void RemoveRow(int row) {
        PressTimes(Key::Down, row - 1);
        Alt('r');
        ExpectBox("Removing Card" + std::to_string(row),
                  "Do you want to Continue removing the Card ?");
        Check([] { EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDOK); });
    }
};

TEST_F(RemoveCardScenario, AbortChangesNothingAndKeepsTheSelection) {
    Build(ThreeCards());
    const std::string before = Parameters();
    RemoveRow(2);
    Press(Key::Escape);
    ExpectCardList(kThreeRows, 1, "PAR");
    EXPECT_EQ(Leave(), 0);
    EXPECT_EQ(Parameters(), before);
}

// Ten or more cards: the row of Card10 is card 10, not card 1. Continue removes it, moves card
// 11 down and takes the list again, which selects card 1's row.
TEST_F(RemoveCardScenario, RowOfCardTenRemovesCardTenNotCardOne) {
    Build(PciCards(11));
    // Cards 1 to 9 as they were, card 11 (COM41) moved down to number 10.
    const std::string expected = LayoutOf(PciCards(9) + PciCardKeys(10, 4, 41));
    RemoveRow(10);
    Alt('c');
    Check([] {
        EXPECT_EQ(ListRows(IDC_CARD_LIST).at(9), "Card10\tPCI\t4\tCOM41\t");
        EXPECT_EQ(ListSelection(IDC_CARD_LIST), 0);
        EXPECT_EQ(g_nChangeCount, 1);
    });
    EXPECT_EQ(Leave(), 1);
    EXPECT_EQ(Parameters(), expected);
    EXPECT_FALSE(Exists(SavedKeyFile())) << "the saved-key file was left behind";
}

TEST_F(RemoveCardScenario, FailedRemovalIsReportedLeavesTheRegistryAndStillCounts) {
    Build(ThreeCards());
    const std::string before = Parameters();
    RemoveRow(2);
    // Moving card 3 over card 2 is the removal's first registry write.
    Check([] { FailAtWrite(1); });
    Press(Key::Enter);
    ExpectBox("zovcfg", "RegRestoreKey returned ");
    Press(Key::Enter);
    Check([] { FailAtWrite(0); });
    // The list was taken again all the same: card 1's row is selected once more.
    ExpectCardList(kThreeRows, 0, "PAR");
    Check([] { EXPECT_EQ(g_nChangeCount, 1); });
    EXPECT_EQ(Leave(), 1);
    EXPECT_EQ(Parameters(), before);
    EXPECT_FALSE(Exists(SavedKeyFile())) << "the saved-key file was left behind";
}

// The notices of an empty list: a card key without a Port1 key is counted but has no row, so
// Properties and Remove stay enabled and explain themselves.
struct Notice {
    const char* name;
    char command;  // the card list button's mnemonic
    const char* caption;
};

class RemoveCardEmptyListNotice : public RemoveCardScenario,
                                  public ::testing::WithParamInterface<Notice> {};

TEST_P(RemoveCardEmptyListNotice, ExplainsAndChangesNothing) {
    const Notice& notice = GetParam();
    Build(CardPath(1) + "\n  ZOVPortCount = dword:4\n");
    const std::string before = Parameters();
    Alt(notice.command);
    Check([&notice] {
        EXPECT_EQ(Caption(), notice.caption);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDOK);
    });
    Press(Key::Escape);  // OK does the same: neither notice has a handler of its own
    ExpectCardList({}, LB_ERR, "PAR");
    Check([] { EXPECT_EQ(g_nCardCount, 1); });
    EXPECT_EQ(Leave(), 0);
    EXPECT_EQ(Parameters(), before);
}

const Notice kNotices[] = {{"Properties", 'p', "Error Displaying Card Properties"},
                           {"Remove", 'r', "Error Removing  Card"}};

INSTANTIATE_TEST_SUITE_P(Notices, RemoveCardEmptyListNotice, ::testing::ValuesIn(kNotices),
                         kCaseName);

}  // namespace
}  // namespace zov::test
