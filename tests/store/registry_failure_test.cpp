// A registry that fails at any one write of an add or a removal, or whose disk fails under
// SQLite: the registry ends exactly as it was before, and the failure is reported, never taken
// for success.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "card_keys.h"
#include "card_store_test.h"
#include "failing_disk.h"
#include "store/card_removal.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

// The changes tried here, each on a registry of four PCI cards; the failure they report.
struct Change {
    const char* name;
    std::function<std::optional<std::string>()> run;
    const char* reportStart;  // nullptr: any report
    const char* afterwards;   // found in the registry once the change went through
};

const Change kChanges[] = {
    {"add",
     [] {
         const auto refusal = AddCard(DescribeNewCard("COM21", 2, 0, "2A0", "7"), 4);
         return refusal ? std::optional(refusal->caption + ": " + refusal->text) : std::nullopt;
     },
     "Card Not Added: Card5 was not added", "Card5\\Port16\n  DOSDeviceName = sz:COM36\n"},
    {"removal", [] { return RemoveAndRenumber(1, 4); }, nullptr, "Card3\\Port4\n"},
};

class RegistryFailureTest : public CardStoreTest {
  protected:
    // A fresh registry of four cards in a database of its own; returns its Parameters key.
    std::string FourCardsIn(const std::string& name) {
        setenv("ZOVCFG_REGISTRY", PathInDir(name + ".db").c_str(), 1);
        CloseRegistryDatabase();
        Build(PciCards(4));
        return Parameters();
    }
};

// The add writes the card key, two values, 16 port keys and 16 names at least; the removal of
// card 1 of 4 moves three cards and deletes one.
TEST_F(RegistryFailureTest, ChangeThatFailsAtAnyWriteLeavesNoTraceAndSaysSo) {
    for (const Change& change : kChanges) {
        SCOPED_TRACE(change.name);
        const std::string before = FourCardsIn(change.name);
        int k = 1;
        for (;; ++k) {
            FailAtWrite(k);
            const auto failure = change.run();
            FailAtWrite(0);
            if (!failure) {
                break;  // k is past the change's last write
            }
            SCOPED_TRACE(::testing::Message() << "failure at write " << k);
            EXPECT_TRUE(change.reportStart == nullptr || failure->rfind(change.reportStart, 0) == 0)
                << *failure;
            EXPECT_EQ(Parameters(), before);
            EXPECT_FALSE(Exists(SavedKeyFile()));
            ASSERT_LT(k, 200) << "the change never went through";
        }
        EXPECT_GT(k, 4);
        EXPECT_NE(Parameters().find(change.afterwards), std::string::npos);
    }
}

// Half-way through the writes of a removal the disk fails, broken or full: SQLite rolls back the
// statement or the whole transaction itself, and the rest must not commit piecemeal.
TEST_F(RegistryFailureTest, DiskFailingInTheMiddleOfARemovalLeavesNothingCommitted) {
    for (const int failure : {SQLITE_IOERR_WRITE, SQLITE_FULL}) {
        const std::string name = "removal" + std::to_string(failure);
        SCOPED_TRACE(name);
        FourCardsIn(name + "-counted");
        FailDiskWriteAt(0);
        ASSERT_EQ(RemoveAndRenumber(1, 4), std::nullopt);
        const int writes = DiskWrites();
        const std::string before = FourCardsIn(name);
        FailDiskWriteAt(writes / 2, failure);
        EXPECT_NE(RemoveAndRenumber(1, 4), std::nullopt) << "the failure was taken for success";
        EXPECT_GE(DiskWrites(), writes / 2) << "the disk never failed";
        FailDiskWriteAt(0);
        EXPECT_EQ(Parameters(), before);
        EXPECT_FALSE(Exists(SavedKeyFile()));
    }
}

}  // namespace
}  // namespace zov::test
