// A registry that fails at any one write of an add or a removal: the registry ends exactly as it
// was before, and the failure is reported, never taken for success.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "card_keys.h"
#include "card_store_test.h"
#include "platform/registry/registry_database.h"
#include "store/card_removal.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

using RegistryFailureTest = CardStoreTest;

TEST_F(RegistryFailureTest, AddThatFailsAtAnyWriteWritesNothing) {
    Build(PciCards(2));
    const std::string before = Dump(kParametersPath);
    int failures = 0;
    for (int k = 1;; ++k) {
        FailAtWrite(k);
        const auto refusal = AddCard(DescribeNewCard("COM21", 2, 0, "2A0", "7"), 2);
        FailAtWrite(0);
        if (!refusal) {
            break;  // k is past the add's last write: the card is there
        }
        ++failures;
        EXPECT_EQ(refusal->caption, "Card Not Added") << "write " << k;
        EXPECT_NE(refusal->text.find("Card3 was not added"), std::string::npos) << refusal->text;
        EXPECT_EQ(Dump(kParametersPath), before) << "after a failure at write " << k;
        ASSERT_LT(k, 200) << "the add never succeeded";
    }
    // Card key, two values, 16 port keys and 16 names at least.
    EXPECT_GE(failures, 35);
    EXPECT_NE(Dump(kParametersPath).find("Card3\\Port16\n  DOSDeviceName = sz:COM36\n"),
              std::string::npos);
}

TEST_F(RegistryFailureTest, RemovalThatFailsAtAnyWriteLeavesEveryCard) {
    Build(PciCards(4));
    const std::string before = Dump(kParametersPath);
    int failures = 0;
    for (int k = 1;; ++k) {
        FailAtWrite(k);
        const auto failure = RemoveAndRenumber(1, 4);
        FailAtWrite(0);
        if (!failure) {
            break;
        }
        ++failures;
        EXPECT_EQ(Dump(kParametersPath), before)
            << "after a failure at write " << k << ": " << *failure;
        EXPECT_FALSE(Exists(Dir() + "/ZOVsavREG"));
        ASSERT_LT(k, 200) << "the removal never succeeded";
    }
    EXPECT_GE(failures, 4);
    EXPECT_EQ(Dump(kParametersPath).find("Card4"), std::string::npos);
}

}  // namespace
}  // namespace zov::test
