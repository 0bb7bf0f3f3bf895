#include "store/card_census.h"

#include "platform/format.h"
#include "platform/win32/scoped_key.h"
#include "store/card_key_reader.h"
#include "store/card_layout.h"

namespace zov {

namespace {

// The census reads ZOVPortCount with room for 20 bytes, so a longer-than-usual value still marks
// a PCI card.
constexpr DWORD kPortCountRoom = 20;

}  // namespace

CardCensus TakeCardCensus() {
    CardCensus census;
    const RegistryReadScope snapshot;  // one consistent view of every card
    for (int card = 1;; ++card) {
        ScopedKey cardKey;
        if (cardKey.Open(HKEY_LOCAL_MACHINE, CardKeyPath(card), KEY_READ) != ERROR_SUCCESS) {
            census.cardCount = card - 1;
            break;
        }
        CardSummary summary;
        summary.number = card;
        const auto portCount = QueryValueWithin(cardKey.Get(), kPortCountValue, kPortCountRoom);
        summary.isPci = portCount.has_value();
        summary.portCount =
            portCount ? LittleEndianNumber(*portCount) : CountSubkeys(cardKey.Get());
        const auto firstPort = ReadFirstPortName(cardKey.Get(), KEY_READ);
        if (!firstPort) {
            census.cardCount = card;
            break;
        }
        summary.firstPort = *firstPort;
        summary.baseAddress = ReadFourByteNumber(cardKey.Get(), kBaseAddressValue);
        summary.irq = ReadFourByteNumber(cardKey.Get(), kIrqValue);
        summary.pciBus = ReadFourByteNumber(cardKey.Get(), kBusValue);
        summary.pciSlot = ReadFourByteNumber(cardKey.Get(), kSlotValue);
        census.cards.push_back(std::move(summary));
    }
    return census;
}

std::string CensusRow(const CardSummary& card) {
    return FormatText("Card%d\t%s\t%d\t%s\t", card.number, card.isPci ? "PCI" : "ISA",
                      static_cast<int>(card.portCount), card.firstPort.c_str());
}

std::vector<std::string> CensusRows(const CardCensus& census) {
    std::vector<std::string> rows;
    for (const CardSummary& card : census.cards) {
        rows.push_back(CensusRow(card));
    }
    return rows;
}

}  // namespace zov
