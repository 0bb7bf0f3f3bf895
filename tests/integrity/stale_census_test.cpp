// A change made with the count of a census that another process has made stale meanwhile: the
// change may be refused, but the card keys must stay whole and numbered without a gap.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "card_invariants.h"
#include "card_store_fixture.h"
#include "store/card_census.h"
#include "store/card_removal.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

NewCard FourPortPciCard(int firstCom) {
    return DescribeNewCard("COM" + std::to_string(firstCom), 0, 1, "", "");
}

class StaleCensusTest : public CardStoreFixture {
  protected:
    void SetUp() override {
        CardStoreFixture::SetUp();
        if (geteuid() != 0) {
            GTEST_SKIP() << "removals need the backup and restore privileges of root";
        }
        Build(CardText(1, false, 4, 10) + CardText(2, false, 4, 20) + CardText(3, false, 4, 30));
        ASSERT_EQ(TakeCardCensus().cardCount, 3);
    }

    // Cards counted now, for the expectations after a change.
    static int CardsNow() { return TakeCardCensus().cardCount; }
};

// The store checks, inside its transaction, that the cards are still the ones counted: a change
// after another program's change is refused instead of leaving a gap in the numbering.
TEST_F(StaleCensusTest, AddAfterAnotherProgramRemovedTheLastCardLeavesNoGap) {
    ASSERT_EQ(RemoveAndRenumber(3, 3), std::nullopt);  // another program, after our census
    AddCard(FourPortPciCard(40), 3);
    EXPECT_EQ(CardInvariantProblems(CardsNow()), "") << Parameters();
}

TEST_F(StaleCensusTest, AddAfterAnotherProgramAddedACardIsRefused) {
    ASSERT_EQ(AddCard(FourPortPciCard(40), 3), std::nullopt);  // another program
    const auto refusal = AddCard(FourPortPciCard(50), 3);
    ASSERT_NE(refusal, std::nullopt);
    EXPECT_NE(refusal->text.find("configured meanwhile"), std::string::npos) << refusal->text;
    EXPECT_EQ(CardInvariantProblems(4), "") << Parameters();
}

// The store checks, inside its transaction, that the cards are still the ones counted: a change
// after another program's change is refused instead of leaving a gap in the numbering.
TEST_F(StaleCensusTest, RemovalAfterAnotherProgramAddedACardLeavesNoGap) {
    ASSERT_EQ(AddCard(FourPortPciCard(40), 3), std::nullopt);  // another program
    RemoveAndRenumber(1, 3);
    EXPECT_EQ(CardInvariantProblems(CardsNow()), "") << Parameters();
}

// The store checks, inside its transaction, that the cards are still the ones counted: a change
// after another program's change is refused instead of leaving a gap in the numbering.
TEST_F(StaleCensusTest, RemovalOfTheLastCardAfterAnotherProgramAddedOneLeavesNoGap) {
    ASSERT_EQ(AddCard(FourPortPciCard(40), 3), std::nullopt);  // another program
    RemoveAndRenumber(3, 3);
    EXPECT_EQ(CardInvariantProblems(CardsNow()), "") << Parameters();
}

TEST_F(StaleCensusTest, RemovalAfterAnotherProgramRemovedACardKeepsEveryCard) {
    ASSERT_EQ(RemoveAndRenumber(1, 3), std::nullopt);  // another program
    const std::string before = Parameters();
    EXPECT_NE(RemoveAndRenumber(2, 3), std::nullopt) << "card 3 is gone: nothing to move down";
    EXPECT_EQ(Parameters(), before);
    EXPECT_EQ(CardInvariantProblems(2), "") << Parameters();
}

}  // namespace
}  // namespace zov::test
