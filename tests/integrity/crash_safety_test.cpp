// A process killed at any write of an add or a removal leaves the registry exactly as it was
// before, and a later run of the same operation completes as if nothing had happened.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "card_store_fixture.h"
#include "store/card_removal.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

// Writes are counted from 1; no operation here needs anywhere near this many.
constexpr int kMaxWrites = 2000;

// What killing an operation at each of its writes came to.
struct KillRun {
    int kills = 0;          // writes at which the child was killed
    int completedAt = 0;    // the first k at which the operation ran to its end
    int savedKeyFiles = 0;  // kills that left a saved-key file behind
};

class CrashSafetyTest : public CardStoreFixture {
  protected:
    // Kills a child running operation at write 1, 2, ... until a run completes. After every
    // kill the registry must read as before (the journal of the killed child rolled back),
    // and repeating the operation in this process must succeed and give `after`.
    void KillAtEveryWrite(const std::function<bool()>& operation, const std::string& after,
                          KillRun* run) {
        const std::string before = Parameters();
        for (int k = 1; k <= kMaxWrites; ++k) {
            SCOPED_TRACE(::testing::Message() << "killed at write " << k);
            BackToPristine();
            const int status = RunWithFaultInChild("kill", k, operation);
            if (status != kKilledStatus) {
                EXPECT_EQ(status, 0) << "the child's exit status";
                EXPECT_EQ(Parameters(), after) << "the run past the last write";
                run->completedAt = k;
                return;
            }
            ++run->kills;
            run->savedKeyFiles += Exists(SavedKeyFile()) ? 1 : 0;
            ASSERT_EQ(Parameters(), before);  // one broken state is enough to read
            EXPECT_TRUE(operation()) << "the operation again";
            EXPECT_EQ(Parameters(), after) << "the operation again";
            EXPECT_FALSE(Exists(SavedKeyFile())) << "after the operation again";
        }
        ADD_FAILURE() << "the operation never completed within " << kMaxWrites << " writes";
    }

    // Runs operation once without any fault and returns the registry it leaves; the database is
    // then put back as it was.
    std::string StateAfter(const std::function<bool()>& operation) {
        KeepPristine();
        EXPECT_TRUE(operation());
        std::string after = Parameters();
        BackToPristine();
        return after;
    }
};

TEST_F(CrashSafetyTest, AddKilledAtAnyWriteLeavesNoTraceOfTheCard) {
    Build(IsaCardKeys(1, 4, 1, 0x2A1, 4) + PciCardKeys(2, 8, 5));
    const auto add = [] { return !AddCard(DescribeNewCard("COM21", 2, 0, "2A0", "7"), 2); };
    const std::string after = StateAfter(add);
    ASSERT_NE(after.find("Card3\\Port16\n  DOSDeviceName = sz:COM36\n"), std::string::npos)
        << after;

    KillRun run;
    KillAtEveryWrite(add, after, &run);
    // The card key, two values, 16 port keys, 16 names and the commit at least.
    EXPECT_GE(run.kills, 35);
    EXPECT_EQ(run.completedAt, run.kills + 1);
    EXPECT_EQ(run.savedKeyFiles, 0) << "an add never uses the saved-key file";
}

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
    const auto remove = [] { return !RemoveAndRenumber(1, 8); };
    const std::string after = StateAfter(remove);
    ASSERT_EQ(after.find("Card8"), std::string::npos) << after;
    ASSERT_NE(after.find("Card7\\Port4\n  DOSDeviceName = sz:COM40\n"), std::string::npos) << after;

    KillRun run;
    KillAtEveryWrite(remove, after, &run);
    // Seven restores and the deletion of the highest card, each with writes of its own.
    EXPECT_GE(run.kills, 8);
    EXPECT_EQ(run.completedAt, run.kills + 1);
    EXPECT_GT(run.savedKeyFiles, 0) << "no kill fell between a save and its restore, so the "
                                       "repeat after a left-over file was never tried";
}

}  // namespace
}  // namespace zov::test
