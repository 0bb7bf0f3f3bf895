// A change to the cards cut off at any write leaves the registry exactly as it was before. A
// process killed at any write of a removal, which writes the most (a save and a restore per card
// moved down, the saved-key file between them): a later run of the same removal completes as if
// nothing had happened. A registry that fails at any one write of an add or a removal, or whose
// disk fails under SQLite: the failure is reported, never taken for success.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "card_store_test.h"
#include "failing_disk.h"
#include "store/card_removal.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

// Writes are counted from 1; the removal needs nowhere near this many.
constexpr int kMaxWrites = 2000;
// The exit status RunInChild reports for a child that SIGKILL ended.
constexpr int kKilledStatus = 128 + 9;

using CrashSafetyTest = CardStoreFixture;

// Kills a child running the removal at write 1, 2, ... until a run completes. After every kill
// the registry must read as before (the journal of the killed child rolled back), and repeating
// the removal in this process must succeed, whatever saved-key file the kill left behind.
TEST_F(CrashSafetyTest, RemovalKilledAtAnyWriteKeepsEveryCardAndTheNextRemovalWorks) {
    std::string cards;
    int firstCom = 1;
    for (int card = 1; card <= 8; ++card) {
        const int ports = card % 3 == 0 ? 8 : 4;
        cards += card % 2 == 1
                     ? IsaCardKeys(card, ports, firstCom, 0x2A0U + static_cast<unsigned>(card),
                                   3U + static_cast<unsigned>(card))
                     : PciCardKeys(card, ports, firstCom);
        firstCom += ports;
    }
    Build(cards);
    const std::string before = Parameters();
    const auto remove = [] { return !RemoveAndRenumber(1, 8); };
    KeepPristine();
    ASSERT_TRUE(remove());
    const std::string after = Parameters();
    ASSERT_EQ(after.find("Card8"), std::string::npos) << after;
    ASSERT_NE(after.find("Card7\\Port4\n  DOSDeviceName = sz:COM40\n"), std::string::npos) << after;

    int kills = 0;
    int savedKeyFiles = 0;  // kills that left a saved-key file behind
    for (int k = 1; k <= kMaxWrites; ++k) {
        SCOPED_TRACE(::testing::Message() << "killed at write " << k);
        BackToPristine();
        // The child opens its own connection: BackToPristine closed this process's.
        const int status = RunInChild([k, &remove] {
            setenv("ZOVCFG_FAULT_MODE", "kill", 1);
            setenv("ZOVCFG_FAULT_AT_WRITE", std::to_string(k).c_str(), 1);
            return remove() ? 0 : 1;
        });
        if (status != kKilledStatus) {
            EXPECT_EQ(status, 0) << "the child's exit status";
            EXPECT_EQ(Parameters(), after) << "the run past the last write";
            break;
        }
        ++kills;
        savedKeyFiles += Exists(SavedKeyFile()) ? 1 : 0;
        ASSERT_EQ(Parameters(), before);  // one broken state is enough to read
        EXPECT_TRUE(remove()) << "the removal again";
        EXPECT_EQ(Parameters(), after) << "the removal again";
        EXPECT_FALSE(Exists(SavedKeyFile())) << "after the removal again";
    }
    // Seven restores and the deletion of the highest card, each with writes of its own.
    EXPECT_GE(kills, 8);
    EXPECT_LT(kills, kMaxWrites) << "the removal never completed";
    EXPECT_GT(savedKeyFiles, 0) << "no kill fell between a save and its restore, so the "
                                   "repeat after a left-over file was never tried";
}

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
        FreshRegistry(name);
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
