// Removing a card and moving every higher card down by one number.
#pragma once

#include <optional>
#include <string>

#include "store/card_conflict.h"

// Removes card `cardNumber` of the g_nCardCount cards of the last census: cards above it move
// down one number each, with all their values and port keys, through a saved-key file under the
// backup and restore privileges; then the highest card key goes with its whole subtree. The
// whole removal is one registry transaction: when any step fails, the registry is left exactly
// as it was and the failure is shown in the framework message box. A number outside 1 to
// g_nCardCount changes nothing.
void RemoveCard(int cardNumber);

namespace zov {

// Why card cardNumber cannot be removed when a census counts cardCount cards: it is not one of
// them. Nothing when it is.
std::optional<CardRefusal> NoSuchCard(int cardNumber, int cardCount);

// The work of RemoveCard without the message box, for any caller: removes card cardNumber of
// the cardCount cards of a census and returns why it was not removed (the registry then
// unchanged; a number outside 1 to cardCount is no such card), or nothing. A removal that
// succeeded but left its saved-key file behind says so with the kind kLeftoverFile.
std::optional<CardRefusal> RemoveNumberedCard(int cardNumber, int cardCount);

// The same with the refusal as its text; a number outside 1 to cardCount changes nothing and
// gives nothing.
std::optional<std::string> RemoveAndRenumber(int cardNumber, int cardCount);

// Where the saved-key file of a renumbering goes: $SystemDrive/ZOVsavREG when SystemDrive names
// a directory, else ZOVsavREG in the registry database's directory.
std::string SavedKeyFilePath();

}  // namespace zov
