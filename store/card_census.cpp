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
        std::string row = FormatText("Card%d\t", card);

        const auto portCount = QueryValueWithin(cardKey.Get(), kPortCountValue, kPortCountRoom);
        row += FormatText("%s\t", portCount ? "PCI" : "ISA");
        const DWORD ports =
            portCount ? LittleEndianNumber(*portCount) : CountSubkeys(cardKey.Get());
        row += FormatText("%d\t", static_cast<int>(ports));

        const auto firstPort = ReadFirstPortName(cardKey.Get(), KEY_READ);
        if (!firstPort) {
            census.cardCount = card;
            break;
        }
        row += FormatText("%s\t", firstPort->c_str());
        census.rows.push_back(std::move(row));
    }
    return census;
}

}  // namespace zov
