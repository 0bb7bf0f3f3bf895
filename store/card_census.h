// The card census: walks Card1, Card2, ... in order and sums up each card it can list.
//
// How the store reports failure, everywhere: a call that can fail returns std::optional holding
// what went wrong (a CardRefusal, or a message for people), empty when it worked; the registry
// steps inside return the Win32 LSTATUS they met. Nothing throws, nothing is an out-parameter.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/base.h"

namespace zov {

// One listed card, as the census reads it.
struct CardSummary {
    int number = 0;
    bool isPci = false;     // ZOVPortCount can be read (with room for 20 bytes)
    DWORD portCount = 0;    // ZOVPortCount of a PCI card, the subkey count of an ISA card
    std::string firstPort;  // the DOSDeviceName of Port1, as text
    // Further values, read with room for 4 bytes; absent when missing or longer.
    std::optional<DWORD> baseAddress;
    std::optional<DWORD> irq;
    std::optional<DWORD> pciBus;
    std::optional<DWORD> pciSlot;
};

struct CardCensus {
    // The listed cards, in card order.
    std::vector<CardSummary> cards;
    // Card keys found. A card whose key exists but whose Port1 key or port name cannot be read
    // is counted without a summary, and ends the walk.
    int cardCount = 0;
};

// Reads the registry in one transaction, so the cards and the count describe one state of it.
CardCensus TakeCardCensus();

// The card list's row of a card: "Card<n>\t<PCI|ISA>\t<ports>\t<first port>\t".
std::string CensusRow(const CardSummary& card);
std::vector<std::string> CensusRows(const CardCensus& census);

}  // namespace zov
