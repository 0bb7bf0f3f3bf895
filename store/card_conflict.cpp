#include "store/card_conflict.h"

#include "platform/format.h"
#include "platform/win32/scoped_key.h"
#include "store/card_choices.h"
#include "store/card_key_reader.h"
#include "store/card_layout.h"

namespace zov {

namespace {

std::optional<CardRefusal> FindResourceConflict(const NewCard& card, const CheckedCard& existing) {
    if (existing.isPci) {
        return std::nullopt;  // a PCI card has no resources of its own to compare
    }
    // Each stored resource is compared whenever it can be read, the base address first.
    if (existing.baseAddress && *existing.baseAddress == card.baseAddress) {
        return CardRefusal{
            FormatText("BaseAddress  %s  conflicts with BaseAddress assigned to Card%d.\n"
                       "Choose a different Base Address.",
                       BaseAddressChoiceText(card.baseAddress).c_str(), existing.number),
            "Base Address Conflict", RefusalKind::kBaseAddressConflict};
    }
    if (existing.irq && *existing.irq == card.irq) {
        return CardRefusal{FormatText("Irq %s  conflicts with Irq assigned to Card%d.\n"
                                      "Choose a different Irq.",
                                      IrqChoiceText(card.irq).c_str(), existing.number),
                           "Irq Conflict", RefusalKind::kIrqConflict};
    }
    return std::nullopt;
}

std::optional<CardRefusal> FindComRangeConflict(const NewCard& card, const CheckedCard& existing) {
    if (existing.portCount == 0) {
        return std::nullopt;
    }
    // COM numbers compare as 32-bit numbers; any overlap conflicts, also a new range that
    // encloses the existing one.
    const uint64_t first = static_cast<uint32_t>(existing.firstCom);
    const uint64_t last = first + existing.portCount - 1;
    if (card.firstCom > last || card.LastCom() < first) {
        return std::nullopt;
    }
    return CardRefusal{FormatText("COM%d to COM%d conflicts with ports assigned to Card%d.\n"
                                  "Choose a different Starting Port.",
                                  static_cast<int>(card.firstCom), static_cast<int>(card.LastCom()),
                                  existing.number),
                       "Starting Port Conflict", RefusalKind::kPortConflict};
}

}  // namespace

CheckedCard ReadCheckedCard(int number, REGSAM access) {
    CheckedCard card;
    card.number = number;
    ScopedKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, CardKeyPath(number), access) != ERROR_SUCCESS) {
        card.isPci = true;  // nothing of it to compare
        return card;
    }
    const auto portCount = ReadFourByteNumber(key.Get(), kPortCountValue);
    card.isPci = portCount.has_value();
    if (!card.isPci) {
        card.baseAddress = ReadFourByteNumber(key.Get(), kBaseAddressValue);
        card.irq = ReadFourByteNumber(key.Get(), kIrqValue);
    }
    const DWORD count = portCount ? *portCount : CountSubkeys(key.Get());
    if (const auto firstPort = ReadFirstPortName(key.Get(), access)) {
        card.firstCom = ComNumberOf(*firstPort);
        card.portCount = count;
    }
    return card;
}

std::vector<CheckedCard> ReadCheckedCards(int cardCount) {
    std::vector<CheckedCard> cards;
    for (int number = 1; number <= cardCount; ++number) {
        cards.push_back(ReadCheckedCard(number));
    }
    return cards;
}

std::optional<CardRefusal> FindCardConflict(const NewCard& card,
                                            const std::vector<CheckedCard>& cards) {
    if (card.isIsa) {
        for (const CheckedCard& existing : cards) {
            if (auto conflict = FindResourceConflict(card, existing)) {
                return conflict;
            }
        }
    }
    for (const CheckedCard& existing : cards) {
        if (auto conflict = FindComRangeConflict(card, existing)) {
            return conflict;
        }
    }
    return std::nullopt;
}

std::optional<CardRefusal> FindCardConflict(const NewCard& card, int cardCount) {
    return FindCardConflict(card, ReadCheckedCards(cardCount));
}

}  // namespace zov
