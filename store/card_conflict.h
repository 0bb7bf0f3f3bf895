// The checks of a new card against the cards already configured.
#pragma once

#include <optional>
#include <string>

#include "store/new_card.h"

namespace zov {

// Why a new card is not added, as the message box that says so shows it.
struct CardRefusal {
    std::string text;
    std::string caption;
};

// Checks cards 1 to cardCount in ascending order: for a new ISA card first the base address and
// interrupt of every ISA card, then for any new card the COM range of every card. Returns the
// message of the first conflict found.
std::optional<CardRefusal> FindCardConflict(const NewCard& card, int cardCount);

}  // namespace zov
