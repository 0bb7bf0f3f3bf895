// The checks of a new card against the cards already configured.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/registry.h"
#include "store/new_card.h"

namespace zov {

// What kind of refusal it is, for a front end that answers differently to each.
enum class RefusalKind {
    kBaseAddressConflict,
    kIrqConflict,
    kPortConflict,
    kCardLimit,
    kCardsChanged,
    kNoSuchCard,
    kRegistryFailure,
    kLeftoverFile,  // the change is made; only its saved-key file could not be deleted
};

// Why a card is not added or removed, as the message box that says so shows it.
struct CardRefusal {
    std::string text;
    std::string caption;
    RefusalKind kind = RefusalKind::kRegistryFailure;
};

// What the checks read of an existing card, as the commit reads it: each number with room for
// 4 bytes, so a longer ZOVPortCount makes the card an ISA card here.
struct CheckedCard {
    int number = 0;
    bool isPci = false;
    std::optional<DWORD> baseAddress;
    std::optional<DWORD> irq;
    uint64_t firstCom = 0;
    uint64_t portCount = 0;  // 0: an empty range, which conflicts with nothing
};

// Reads one card as the checks do, its keys opened with `access` (the commit opens them with
// full access).
CheckedCard ReadCheckedCard(int number, REGSAM access = KEY_ALL_ACCESS);

// Reads cards 1 to cardCount. A card key that cannot be opened has no resources and an empty
// range; so has a card without a readable Port1 name.
std::vector<CheckedCard> ReadCheckedCards(int cardCount);

// Checks against the cards in ascending order: for a new ISA card first the base address and
// interrupt of every ISA card, then for any new card the COM range of every card. Returns the
// message of the first conflict found.
std::optional<CardRefusal> FindCardConflict(const NewCard& card,
                                            const std::vector<CheckedCard>& cards);
std::optional<CardRefusal> FindCardConflict(const NewCard& card, int cardCount);

}  // namespace zov
