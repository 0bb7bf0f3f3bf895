#include "store/card_conflict.h"

#include "platform/format.h"
#include "platform/win32/scoped_key.h"
#include "store/card_key_reader.h"
#include "store/card_layout.h"

namespace zov {

namespace {

// The checks read each number of a card key with room for 4 bytes: a longer ZOVPortCount makes
// the card an ISA card here.
constexpr DWORD kNumberRoom = 4;

std::optional<DWORD> ReadNumber(HKEY key, const char* valueName) {
    const auto bytes = QueryValueWithin(key, valueName, kNumberRoom);
    if (!bytes) {
        return std::nullopt;
    }
    return LittleEndianNumber(*bytes);
}

std::optional<CardRefusal> FindResourceConflict(const NewCard& card, int existing) {
    ScopedKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, CardKeyPath(existing), KEY_ALL_ACCESS) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (ReadNumber(key.Get(), kPortCountValue)) {
        return std::nullopt;  // a PCI card has no resources of its own to compare
    }
    // Each stored resource is compared whenever it can be read, the base address first.
    const auto baseAddress = ReadNumber(key.Get(), kBaseAddressValue);
    const auto irq = ReadNumber(key.Get(), kIrqValue);
    if (baseAddress && *baseAddress == card.baseAddress) {
        return CardRefusal{
            FormatText("BaseAddress  %s  conflicts with BaseAddress assigned to Card%d.\n"
                       "Choose a different Base Address.",
                       card.baseAddressText.c_str(), existing),
            "Base Address Conflict"};
    }
    if (irq && *irq == card.irq) {
        return CardRefusal{FormatText("Irq %s  conflicts with Irq assigned to Card%d.\n"
                                      "Choose a different Irq.",
                                      card.irqText.c_str(), existing),
                           "Irq Conflict"};
    }
    return std::nullopt;
}

struct ComRange {
    uint64_t first = 0;
    uint64_t count = 0;  // an empty range conflicts with nothing
};

// The COM range of an existing card; a card key or Port1 key that cannot be opened, or a port
// name that cannot be read, gives an empty range.
ComRange ComRangeOf(int existing) {
    ScopedKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, CardKeyPath(existing), KEY_ALL_ACCESS) != ERROR_SUCCESS) {
        return {};
    }
    const auto portCount = ReadNumber(key.Get(), kPortCountValue);
    const DWORD count = portCount ? *portCount : CountSubkeys(key.Get());
    const auto firstPort = ReadFirstPortName(key.Get(), KEY_ALL_ACCESS);
    if (!firstPort) {
        return {};
    }
    return {ComNumberOf(*firstPort), count};
}

std::optional<CardRefusal> FindComRangeConflict(const NewCard& card, int existing) {
    const ComRange range = ComRangeOf(existing);
    if (range.count == 0) {
        return std::nullopt;
    }
    // Any overlap conflicts, also a new range that encloses the existing one.
    const uint64_t last = range.first + range.count - 1;
    if (card.firstCom > last || card.lastCom < range.first) {
        return std::nullopt;
    }
    return CardRefusal{
        FormatText("COM%d to COM%d conflicts with ports assigned to Card%d.\n"
                   "Choose a different Starting Port.",
                   static_cast<int>(card.firstCom), static_cast<int>(card.lastCom), existing),
        "Starting Port Conflict"};
}

}  // namespace

std::optional<CardRefusal> FindCardConflict(const NewCard& card, int cardCount) {
    if (card.isIsa) {
        for (int existing = 1; existing <= cardCount; ++existing) {
            if (auto conflict = FindResourceConflict(card, existing)) {
                return conflict;
            }
        }
    }
    for (int existing = 1; existing <= cardCount; ++existing) {
        if (auto conflict = FindComRangeConflict(card, existing)) {
            return conflict;
        }
    }
    return std::nullopt;
}

}  // namespace zov
