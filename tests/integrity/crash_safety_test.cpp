// A process killed at any write of a removal leaves the registry exactly as it was before, and a
// later run of the same removal completes as if nothing had happened. The removal writes the most
// (a save and a restore per card moved down, the saved-key file between them); that an add
// leaves no trace of itself at any failed write: RegistryFailureTest.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "card_store_fixture.h"
#include "store/card_removal.h"

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

}  // namespace
}  // namespace zov::test
