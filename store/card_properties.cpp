#include "store/card_properties.h"

#include "platform/win32/scoped_key.h"
#include "store/card_key_reader.h"
#include "store/card_layout.h"

namespace zov {

namespace {

constexpr DWORD kBaseAddressRoom = 15;
constexpr DWORD kByteValueRoom = 5;

}  // namespace

std::optional<CardProperties> ReadCardProperties(const std::string& cardKeyPath) {
    const RegistryReadScope snapshot;  // one consistent view of every card
    ScopedKey cardKey;
    if (cardKey.Open(HKEY_LOCAL_MACHINE, cardKeyPath, KEY_READ) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    CardProperties properties;
    properties.baseAddress = QueryValueWithin(cardKey.Get(), kBaseAddressValue, kBaseAddressRoom);
    properties.irq = QueryValueWithin(cardKey.Get(), kIrqValue, kByteValueRoom);
    properties.portCount = QueryValueWithin(cardKey.Get(), kPortCountValue, kByteValueRoom);
    if (properties.IsPci()) {
        properties.pciSlot = QueryValueWithin(cardKey.Get(), kSlotValue, kByteValueRoom);
        properties.pciBus = QueryValueWithin(cardKey.Get(), kBusValue, kByteValueRoom);
    } else {
        properties.subkeyCount = CountSubkeys(cardKey.Get());
    }
    properties.firstPort = ReadFirstPortName(cardKey.Get(), KEY_READ);
    return properties;
}

}  // namespace zov
