// Adding a card: the checks against the configured cards and the write of the new card key.
#pragma once

#include <optional>
#include <string>

#include "platform/win32/base.h"
#include "store/card_conflict.h"
#include "store/new_card.h"

// Checks the new card against cards 1 to g_nCardCount and, without a conflict, writes it as card
// g_nCardCount + 1 with its port keys, all in one registry transaction, and counts the change.
// A conflict, or a write that fails or finds the card key already there, is reported in a
// message box owned by `owner`; nothing is then written and the result is false.
bool CommitNewCard(HWND owner, const std::string& startingPort, int portCountIndex,
                   int busTypeIndex, const std::string& baseAddressText,
                   const std::string& irqText);

namespace zov {

// The checks and the write of CommitNewCard without the message box: the card is checked
// against cards 1 to cardCount and written as card cardCount + 1, in one transaction that has
// ended when this returns. Returns why the card was not added, or nothing when it was. A ninth
// card is refused here, whoever asks.
std::optional<CardRefusal> AddCard(const NewCard& card, int cardCount);

// A card asked for by a script, with its automatic values chosen.
struct CardAddition {
    NewCard card;    // as written, or as it would have been written
    int number = 0;  // the card number it takes
    std::optional<CardRefusal> refusal;
};

// Counts the cards, chooses the automatic values among the cards counted, checks the card and,
// unless dryRun, writes it as the next card: all in one transaction, as AddCard does.
CardAddition AddRequestedCard(const NewCardRequest& request, bool dryRun);

}  // namespace zov
