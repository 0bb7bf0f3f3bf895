// The census, the add of a card and the removal of a card done with the same registry calls as
// the card store, but without a RegistryTransaction around them: every registry call is then a
// transaction of its own. The benchmarks run these beside the store's own operations to show
// what grouping the calls into one transaction saves.
#pragma once

#include "store/card_census.h"
#include "store/new_card.h"

namespace zov::bench {

CardCensus CensusCallByCall();

// Checks the card against cards 1 to cardCount and writes it as card cardCount + 1; false when
// a check or a write failed.
bool AddCardCallByCall(const NewCard& card, int cardCount);

// Moves cards cardNumber + 1 to cardCount down by one through the saved-key file and deletes
// the highest; false when a step failed (what was done before it stays done).
bool RemoveCardCallByCall(int cardNumber, int cardCount);

}  // namespace zov::bench
