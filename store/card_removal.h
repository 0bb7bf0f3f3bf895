// Removing a card and moving every higher card down by one number.
#pragma once

#include <optional>
#include <string>

// Removes card `cardNumber` of the g_nCardCount cards of the last census: cards above it move
// down one number each, with all their values and port keys, through a saved-key file under the
// backup and restore privileges; then the highest card key goes with its whole subtree. The
// whole removal is one registry transaction: when any step fails, the registry is left exactly
// as it was and the failure is shown in the framework message box. A number outside 1 to
// g_nCardCount changes nothing.
void RemoveCard(int cardNumber);

namespace zov {

// The work of RemoveCard without the message box: removes card cardNumber of cardCount and
// returns the message to show when it failed (the registry then unchanged), or nothing.
std::optional<std::string> RemoveAndRenumber(int cardNumber, int cardCount);

// Where the saved-key file of a renumbering goes: $SystemDrive/ZOVsavREG when SystemDrive names
// a directory, else ZOVsavREG in the registry database's directory.
std::string SavedKeyFilePath();

}  // namespace zov
