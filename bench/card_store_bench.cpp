// Speed of the card store's three operations on a registry of eight 16-port cards, alone and
// among a million unrelated keys, each as the store does it (one RegistryTransaction) and call
// by call (every registry call its own transaction). Run with the sync counter preloaded, each
// case also reports the disk syncs and the committed write transactions of one operation.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <string>
#include <utility>

#include "bench_registry.h"
#include "card_calls_without_transaction.h"
#include "store/card_census.h"
#include "store/card_removal.h"
#include "store/new_card.h"
#include "store/new_card_commit.h"

namespace zov::bench {

enum class Grouping { kOneTransaction, kCallByCall };

// The counts of the preloaded sync counter, or nothing when it is not preloaded.
class SyncCounter {
  public:
    SyncCounter()
        : syncs_(reinterpret_cast<Count>(dlsym(RTLD_DEFAULT, "ZovBenchSyncCount"))),
          journals_(reinterpret_cast<Count>(dlsym(RTLD_DEFAULT, "ZovBenchJournalCount"))) {}

    bool Available() const { return syncs_ != nullptr && journals_ != nullptr; }
    unsigned long Syncs() const { return Available() ? syncs_() : 0; }
    unsigned long Journals() const { return Available() ? journals_() : 0; }

  private:
    using Count = unsigned long (*)();
    Count syncs_;
    Count journals_;
};

// Adds up the syncs and write transactions of the measured operations only.
class OperationCounts {
  public:
    void Begin() {
        syncs_ -= counter_.Syncs();
        journals_ -= counter_.Journals();
    }
    void End() {
        syncs_ += counter_.Syncs();
        journals_ += counter_.Journals();
    }
    void Report(benchmark::State& state) const {
        const double operations = static_cast<double>(state.iterations());
        if (!counter_.Available() || operations == 0) {
            state.counters["syncs"] = -1;
            state.counters["write_transactions"] = -1;
            return;
        }
        state.counters["syncs"] = static_cast<double>(syncs_) / operations;
        state.counters["write_transactions"] = static_cast<double>(journals_) / operations;
    }

  private:
    SyncCounter counter_;
    // Unsigned like the counts: between Begin and End the sum wraps back to what was counted.
    unsigned long syncs_ = 0;
    unsigned long journals_ = 0;
};

CardCensus Census(Grouping grouping) {
    return grouping == Grouping::kOneTransaction ? TakeCardCensus() : CensusCallByCall();
}

bool Add(Grouping grouping, const NewCard& card, int cardCount) {
    return grouping == Grouping::kOneTransaction ? !AddCard(card, cardCount).has_value()
                                                 : AddCardCallByCall(card, cardCount);
}

bool Remove(Grouping grouping, int cardNumber, int cardCount) {
    return grouping == Grouping::kOneTransaction
               ? !RemoveAndRenumber(cardNumber, cardCount).has_value()
               : RemoveCardCallByCall(cardNumber, cardCount);
}

// The first COM number of the first listed card (COM17 gives 17).
int FirstComOfFirstCard(const CardCensus& census) {
    if (census.cards.empty()) {
        return 0;
    }
    return static_cast<int>(ComNumberOf(census.cards.front().firstPort));
}

bool RegistryHoldsTheCards(benchmark::State& state) {
    const CardCensus census = TakeCardCensus();
    if (census.cardCount != kCardCount || census.cards.size() != kCardCount) {
        state.SkipWithError("the registry does not hold the eight cards it should");
        return false;
    }
    return true;
}

void CensusOfEightCards(benchmark::State& state, bool unrelatedKeys, Grouping grouping) {
    UseCardRegistry(unrelatedKeys);
    if (!RegistryHoldsTheCards(state)) {
        return;
    }
    OperationCounts counts;
    for (auto _ : state) {
        counts.Begin();
        benchmark::DoNotOptimize(Census(grouping));
        counts.End();
    }
    counts.Report(state);
}

// Eight cards are the store's limit, so the card added is the eighth: card 8 is taken out first,
// the new card takes its ports, and card 8 is back when the benchmark ends.
void AddSixteenPortCard(benchmark::State& state, bool unrelatedKeys, Grouping grouping) {
    UseCardRegistry(unrelatedKeys);
    if (!RegistryHoldsTheCards(state)) {
        return;
    }
    const NewCard card = SixteenPortPciCard(FirstComOfCard(kCardCount));
    if (RemoveAndRenumber(kCardCount, kCardCount).has_value()) {
        state.SkipWithError("card 8 could not be removed (run as root for the privileges)");
        return;
    }
    OperationCounts counts;
    for (auto _ : state) {
        counts.Begin();
        const bool added = Add(grouping, card, kCardCount - 1);
        counts.End();
        state.PauseTiming();
        const bool removed = added && !RemoveAndRenumber(kCardCount, kCardCount).has_value();
        state.ResumeTiming();
        if (!removed) {
            state.SkipWithError("the card could not be added and removed again");
            break;
        }
    }
    if (TakeCardCensus().cardCount == kCardCount - 1) {
        AddCard(card, kCardCount - 1);
    }
    counts.Report(state);
}

void RemoveFirstOfEightCards(benchmark::State& state, bool unrelatedKeys, Grouping grouping) {
    UseCardRegistry(unrelatedKeys);
    if (!RegistryHoldsTheCards(state)) {
        return;
    }
    OperationCounts counts;
    for (auto _ : state) {
        state.PauseTiming();
        const int freedCom = FirstComOfFirstCard(TakeCardCensus());
        state.ResumeTiming();
        counts.Begin();
        const bool removed = Remove(grouping, 1, kCardCount);
        counts.End();
        state.PauseTiming();
        // The ports of the removed card are free again: a card on them makes eight again.
        const bool added = !AddCard(SixteenPortPciCard(freedCom), kCardCount - 1).has_value();
        state.ResumeTiming();
        if (!removed || !added) {
            state.SkipWithError("card 1 could not be removed (run as root for the privileges)");
            break;
        }
    }
    counts.Report(state);
}

}  // namespace zov::bench

int main(int argc, char** argv) {
    using zov::bench::Grouping;
    using Case = void (*)(benchmark::State&, bool, Grouping);
    const std::pair<const char*, Case> operations[] = {
        {"census", zov::bench::CensusOfEightCards},
        {"add", zov::bench::AddSixteenPortCard},
        {"remove_first", zov::bench::RemoveFirstOfEightCards},
    };
    for (const auto& [operation, run] : operations) {
        for (const bool unrelatedKeys : {false, true}) {
            for (const Grouping grouping : {Grouping::kOneTransaction, Grouping::kCallByCall}) {
                const std::string name =
                    std::string(operation) + (unrelatedKeys ? "/million_keys" : "/cards_only") +
                    (grouping == Grouping::kOneTransaction ? "/one_transaction" : "/call_by_call");
                benchmark::RegisterBenchmark(name.c_str(), run, unrelatedKeys, grouping)
                    ->Unit(benchmark::kMicrosecond)
                    ->UseRealTime();
            }
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
