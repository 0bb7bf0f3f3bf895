// A change made with the count of a census that another process has made stale meanwhile: the
// store checks, inside its transaction, that the cards are still the ones counted, and refuses
// the change, which would leave a gap or merge into another card, writing nothing.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "card_store_fixture.h"
#include "store/card_census.h"
#include "store/card_removal.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

// Adds a 4-port PCI card named from COM<firstCom> with a census of three cards; the refusal text.
std::optional<std::string> AddWithThreeCounted(int firstCom) {
    const auto refusal =
        AddCard(DescribeNewCard("COM" + std::to_string(firstCom), 0, 1, "", ""), 3);
    return refusal ? std::optional(refusal->text) : std::nullopt;
}

using StaleCensusTest = CardStoreFixture;

TEST_F(StaleCensusTest, ChangeAfterAnotherProgramChangedTheCardsIsRefused) {
    Build(PciCardKeys(1, 4, 10) + PciCardKeys(2, 4, 20) + PciCardKeys(3, 4, 30));
    ASSERT_EQ(TakeCardCensus().cardCount, 3);
    KeepPristine();
    const struct {
        int otherRemoves;  // the card another program removes after our census; 0: it adds one
        int ourRemoval;    // the card we then remove; 0: we add one
    } kCases[] = {{3, 0}, {0, 0}, {0, 1}, {0, 3}, {1, 2}};
    for (const auto& row : kCases) {
        SCOPED_TRACE(::testing::Message()
                     << "other removes " << row.otherRemoves << ", we remove " << row.ourRemoval);
        BackToPristine();
        ASSERT_EQ(
            row.otherRemoves ? RemoveAndRenumber(row.otherRemoves, 3) : AddWithThreeCounted(40),
            std::nullopt);
        const std::string before = Parameters();
        const auto refusal =
            row.ourRemoval ? RemoveAndRenumber(row.ourRemoval, 3) : AddWithThreeCounted(50);
        ASSERT_NE(refusal, std::nullopt);
        EXPECT_NE(refusal->find("meanwhile, by another program"), std::string::npos) << *refusal;
        EXPECT_EQ(Parameters(), before);
    }
}

}  // namespace
}  // namespace zov::test
