// Several processes adding and removing cards on one registry at the same time: every card stays
// whole, the numbering keeps no gap, the count agrees with what the processes say they did, and
// a process that meets a busy registry waits instead of failing.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "card_invariants.h"
#include "card_store_fixture.h"
#include "platform/registry/registry_database.h"
#include "store/card_census.h"
#include "store/card_removal.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

constexpr int kProcesses = 3;
constexpr int kRounds = 30;
constexpr int kInitialCards = 3;

// What one process reports of its rounds.
struct Tally {
    int adds = 0;          // cards it added
    int removals = 0;      // cards it removed
    std::string failures;  // one line each
};

// A 4-port PCI card whose COM names no other round of any process uses.
NewCard UniqueCard(int process, int round) {
    const int firstCom = 100 + 4 * (process * kRounds + round);
    return DescribeNewCard("COM" + std::to_string(firstCom), 0, 1, "", "");
}

// One round: a census, then an add of a new card or the removal of a random listed card, with
// the count of that census. With `oneTransaction`, census and change run in one registry
// transaction, so that the change always meets the cards the census counted.
void PlayRound(int process, int round, bool oneTransaction, std::mt19937* random, Tally* tally) {
    std::optional<RegistryTransaction> whole;
    if (oneTransaction && whole.emplace().Status() != ERROR_SUCCESS) {
        tally->failures += "the round's start: status " + std::to_string(whole->Status()) + "\n";
        return;
    }
    const int count = TakeCardCensus().cardCount;
    if (!oneTransaction) {
        // The user's time between the list and the change, in which the others go on.
        usleep(static_cast<useconds_t>((*random)() % 3000));
    }
    const bool add = count == 0 || (count < 8 && (*random)() % 2 == 0);
    std::optional<std::string> failure;
    if (add) {
        if (const auto refusal = AddCard(UniqueCard(process, round), count)) {
            failure = "add: " + refusal->text;
        }
    } else {
        const int card = 1 + static_cast<int>((*random)() % static_cast<unsigned>(count));
        failure = RemoveAndRenumber(card, count);
    }
    const LSTATUS status = whole ? whole->Commit() : ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) {
        failure = failure.value_or("") + " the round's commit: status " + std::to_string(status);
    }
    if (failure) {
        std::replace(failure->begin(), failure->end(), '\n', ' ');
        tally->failures += *failure + "\n";
    } else {
        ++(add ? tally->adds : tally->removals);
    }
}

// Runs the rounds of one process and writes its tally to the file `out`: the adds, the
// removals, then one line per failure.
int PlayRounds(int process, bool oneTransaction, const std::string& out) {
    CloseRegistryDatabase();
    std::mt19937 random(static_cast<unsigned>(1000 + process));
    Tally tally;
    for (int round = 0; round < kRounds; ++round) {
        PlayRound(process, round, oneTransaction, &random, &tally);
    }
    std::ofstream report(out);
    report << tally.adds << " " << tally.removals << "\n" << tally.failures;
    return report.good() ? 0 : 3;
}

class ConcurrentUseTest : public CardStoreFixture {
  protected:
    void SetUp() override {
        CardStoreFixture::SetUp();
        Build(PciCards(kInitialCards, 4));
        ASSERT_EQ(CardInvariantProblems(Parameters(), kInitialCards), "");
    }

    // Runs kProcesses processes at once and returns their tallies together.
    Tally RunProcesses(bool oneTransaction) {
        CloseRegistryDatabase();
        std::vector<pid_t> children;
        for (int process = 0; process < kProcesses; ++process) {
            const pid_t child = fork();
            if (child == 0) {
                _exit(PlayRounds(process, oneTransaction,
                                 PathInDir("tally" + std::to_string(process))));
            }
            if (child < 0) {
                ADD_FAILURE() << "no child process";
                break;
            }
            children.push_back(child);
        }
        Tally total;
        for (std::size_t i = 0; i < children.size(); ++i) {
            int status = 0;
            EXPECT_EQ(waitpid(children[i], &status, 0), children[i]);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "process " << i << " ended with status " << status;
            std::ifstream report(PathInDir("tally" + std::to_string(i)));
            int adds = 0;
            int removals = 0;
            EXPECT_TRUE(report >> adds >> removals) << "process " << i << " reported nothing";
            total.adds += adds;
            total.removals += removals;
            report.ignore();  // the end of the first line
            total.failures += std::string(std::istreambuf_iterator<char>(report), {});
        }
        return total;
    }

    // Runs the rounds and checks what must hold either way: no operation failed because the
    // registry was busy (the others wait for it), both kinds of change happened, and the cards
    // left are whole, numbered without a gap and as many as the processes' tallies say.
    Tally RunAndCheck(bool oneTransaction) {
        const Tally tally = RunProcesses(oneTransaction);
        EXPECT_EQ(tally.failures.find("status 170"), std::string::npos) << tally.failures;
        EXPECT_EQ(tally.failures.find("locked"), std::string::npos) << tally.failures;
        EXPECT_GT(tally.adds, 0);
        EXPECT_GT(tally.removals, 0);
        EXPECT_EQ(CardInvariantProblems(Parameters(), kInitialCards + tally.adds - tally.removals),
                  "")
            << tally.adds << " adds and " << tally.removals << " removals; refused:\n"
            << tally.failures << "now:\n"
            << Parameters();
        return tally;
    }
};

TEST_F(ConcurrentUseTest, RoundsThatChangeWhatTheirCensusSawKeepEveryCardWhole) {
    const Tally tally = RunAndCheck(true);
    EXPECT_TRUE(tally.failures.empty()) << "a round that saw the current cards failed";
    EXPECT_EQ(tally.adds + tally.removals, kProcesses * kRounds);
    EXPECT_FALSE(Exists(SavedKeyFile()));
}

// The rounds as the utility runs them: the census and the change in transactions of their own,
// so another process may change the cards in between; the store refuses a change whose count is
// stale (see stale_census_test.cpp).
TEST_F(ConcurrentUseTest, RoundsWithACensusOfTheirOwnKeepEveryCardWhole) {
    RunAndCheck(false);
}

}  // namespace
}  // namespace zov::test
