// The card census: walks Card1, Card2, ... in order and builds one list row per card.
//
// How the store reports failure, everywhere: a call that can fail returns std::optional holding
// what went wrong (a CardRefusal, or a message for people), empty when it worked; the registry
// steps inside return the Win32 LSTATUS they met. Nothing throws, nothing is an out-parameter.
#pragma once

#include <string>
#include <vector>

namespace zov {

struct CardCensus {
    // One row per listed card, in card order: "Card<n>\t<PCI|ISA>\t<ports>\t<first port>\t".
    std::vector<std::string> rows;
    // Card keys found. A card whose key exists but whose Port1 key or port name cannot be read
    // is counted without a row, and ends the walk.
    int cardCount = 0;
};

// Reads the registry in one transaction, so the rows and the count describe one state of it.
CardCensus TakeCardCensus();

}  // namespace zov
