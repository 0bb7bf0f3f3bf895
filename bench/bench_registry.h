// The registries the benchmarks run on: eight PCI cards of sixteen ports each, alone or among a
// million unrelated keys. Building the large one takes a while, so every prepared database is
// kept as a file in the data directory and reused by later runs; the benchmarks work on a copy.
#pragma once

#include <string>

#include "store/new_card.h"

namespace zov::bench {

inline constexpr int kCardCount = 8;
inline constexpr int kPortsPerCard = 16;
inline constexpr int kUnrelatedKeyCount = 1000000;

// Makes the registry calls of this process use the database file at path from now on.
void UseRegistry(const std::string& path);

// Points the registry at a fresh working copy of the prepared database (with or without the
// unrelated keys), unless it already uses that one. The benchmarks leave it as they found it.
void UseCardRegistry(bool withUnrelatedKeys);

// The 16-port PCI card whose ports start at COM firstCom, as the settings dialog describes it.
NewCard SixteenPortPciCard(int firstCom);

// The first COM number of card `card` in the prepared registry.
int FirstComOfCard(int card);

}  // namespace zov::bench
