// Several processes adding and removing cards on one registry at the same time, each round as the
// utility runs it: every card stays whole, the numbering keeps no gap, the count agrees with what
// the processes say they did, and a process that meets a busy registry waits instead of failing.
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

#include "card_store_test.h"
#include "store/card_census.h"
#include "store/card_removal.h"
#include "store/configuration_check.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

constexpr int kProcesses = 3;
constexpr int kRounds = 30;
constexpr int kInitialCards = 3;

// Adds a 4-port PCI card named from COM<firstCom> with a census of `count` cards; the refusal's
// text.
std::optional<std::string> AddPciCard(int firstCom, int count) {
    const auto refusal =
        AddCard(DescribeNewCard("COM" + std::to_string(firstCom), 0, 1, "", ""), count);
    return refusal ? std::optional(refusal->text) : std::nullopt;
}

// What one process reports of its rounds.
struct Tally {
    int adds = 0;          // cards it added
    int removals = 0;      // cards it removed
    std::string failures;  // one line each
};

// One round: a census, the user's time between the list and the change (in which the others go
// on), then an add of a new card or the removal of a random listed card with the census's count.
// The store refuses a change whose count has gone stale (StaleCensusTest, below).
void PlayRound(int process, int round, std::mt19937* random, Tally* tally) {
    const int count = TakeCardCensus().cardCount;
    usleep(static_cast<useconds_t>((*random)() % 3000));
    const bool add = count == 0 || (count < 8 && (*random)() % 2 == 0);
    std::optional<std::string> failure;
    if (add) {
        // COM names no other round of any process uses.
        if (const auto refusal = AddPciCard(100 + 4 * (process * kRounds + round), count)) {
            failure = "add: " + *refusal;
        }
    } else {
        const int card = 1 + static_cast<int>((*random)() % static_cast<unsigned>(count));
        failure = RemoveAndRenumber(card, count);
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
int PlayRounds(int process, const std::string& out) {
    CloseRegistryDatabase();
    std::mt19937 random(static_cast<unsigned>(1000 + process));
    Tally tally;
    for (int round = 0; round < kRounds; ++round) {
        PlayRound(process, round, &random, &tally);
    }
    std::ofstream report(out);
    report << tally.adds << " " << tally.removals << "\n" << tally.failures;
    return report.good() ? 0 : 3;
}

using ConcurrentUseTest = CardStoreFixture;

TEST_F(ConcurrentUseTest, RoundsOfSeveralProcessesKeepEveryCardWhole) {
    Build(PciCards(kInitialCards, 4));
    CloseRegistryDatabase();
    std::vector<pid_t> children;
    for (int process = 0; process < kProcesses; ++process) {
        const pid_t child = fork();
        if (child == 0) {
            _exit(PlayRounds(process, PathInDir("tally" + std::to_string(process))));
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
    // No change failed because the registry was busy (the others wait for it), both kinds of
    // change happened, and the cards left are whole and as many as the tallies say.
    EXPECT_EQ(total.failures.find("status 170"), std::string::npos) << total.failures;
    EXPECT_EQ(total.failures.find("locked"), std::string::npos) << total.failures;
    EXPECT_GT(total.adds, 0);
    EXPECT_GT(total.removals, 0);
    // Whole cards numbered without a gap: nothing for the configuration check to find (a gap, a
    // half-written card, ports missing or shared).
    EXPECT_EQ(TakeCardCensus().cardCount, kInitialCards + total.adds - total.removals)
        << total.adds << " adds and " << total.removals << " removals; refused:\n"
        << total.failures;
    for (const ConfigurationProblem& problem : CheckCardConfiguration()) {
        ADD_FAILURE() << problem.text << "\nnow:\n" << Parameters();
    }
    EXPECT_FALSE(Exists(SavedKeyFile()));
}

// A change made with the count of a census that another process has made stale meanwhile: the
// store checks, inside its transaction, that the cards are still the ones counted, and refuses
// the change, which would leave a gap or merge into another card, writing nothing.
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
        ASSERT_EQ(row.otherRemoves ? RemoveAndRenumber(row.otherRemoves, 3) : AddPciCard(40, 3),
                  std::nullopt);
        const std::string before = Parameters();
        const auto refusal =
            row.ourRemoval ? RemoveAndRenumber(row.ourRemoval, 3) : AddPciCard(50, 3);
        ASSERT_NE(refusal, std::nullopt);
        EXPECT_NE(refusal->find("meanwhile, by another program"), std::string::npos) << *refusal;
        EXPECT_EQ(Parameters(), before);
    }
}

}  // namespace
}  // namespace zov::test
