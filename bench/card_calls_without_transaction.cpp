#include "card_calls_without_transaction.h"

#include <string>

#include "platform/format.h"
#include "platform/win32.h"
#include "platform/win32/scoped_key.h"
#include "store/card_conflict.h"
#include "store/card_key_reader.h"
#include "store/card_layout.h"
#include "store/card_removal.h"
#include "store/scoped_privilege.h"

namespace zov::bench {
namespace {

constexpr DWORD kPortCountRoom = 20;

LSTATUS SetDword(HKEY key, const char* name, DWORD number) {
    const BYTE bytes[4] = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
                           static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)};
    return RegSetValueExA(key, name, 0, REG_DWORD, bytes, sizeof bytes);
}

bool MoveCardDown(int from, const std::string& file) {
    DeleteFileA(file.c_str());
    {
        ScopedKey source;
        if (source.Open(HKEY_LOCAL_MACHINE, CardKeyPath(from), KEY_ALL_ACCESS) != ERROR_SUCCESS) {
            return false;
        }
        ScopedPrivilege backup(SE_BACKUP_NAME);
        if (RegSaveKeyA(source.Get(), file.c_str(), nullptr) != ERROR_SUCCESS) {
            return false;
        }
    }
    ScopedKey target;
    if (target.Open(HKEY_LOCAL_MACHINE, CardKeyPath(from - 1), KEY_ALL_ACCESS) != ERROR_SUCCESS) {
        return false;
    }
    ScopedPrivilege restore(SE_RESTORE_NAME);
    const bool restored = RegRestoreKeyA(target.Get(), file.c_str(), 0) == ERROR_SUCCESS;
    DeleteFileA(file.c_str());
    return restored;
}

}  // namespace

CardCensus CensusCallByCall() {
    CardCensus census;
    for (int card = 1;; ++card) {
        ScopedKey cardKey;
        if (cardKey.Open(HKEY_LOCAL_MACHINE, CardKeyPath(card), KEY_READ) != ERROR_SUCCESS) {
            census.cardCount = card - 1;
            break;
        }
        const auto portCount = QueryValueWithin(cardKey.Get(), kPortCountValue, kPortCountRoom);
        const DWORD ports =
            portCount ? LittleEndianNumber(*portCount) : CountSubkeys(cardKey.Get());
        const auto firstPort = ReadFirstPortName(cardKey.Get(), KEY_READ);
        if (!firstPort) {
            census.cardCount = card;
            break;
        }
        CardSummary summary;
        summary.number = card;
        summary.isPci = portCount.has_value();
        summary.portCount = ports;
        summary.firstPort = *firstPort;
        census.cards.push_back(std::move(summary));
    }
    return census;
}

bool AddCardCallByCall(const NewCard& card, int cardCount) {
    if (FindCardConflict(card, cardCount)) {
        return false;
    }
    ScopedKey cardKey;
    if (cardKey.Create(HKEY_LOCAL_MACHINE, CardKeyPath(cardCount + 1)) != ERROR_SUCCESS) {
        return false;
    }
    const LSTATUS status = card.isIsa
                               ? SetDword(cardKey.Get(), kBaseAddressValue, card.baseAddress) |
                                     SetDword(cardKey.Get(), kIrqValue, card.irq)
                               : SetDword(cardKey.Get(), kPortCountValue, card.portCount);
    if (status != ERROR_SUCCESS) {
        return false;
    }
    for (uint32_t port = 1; port <= card.portCount; ++port) {
        ScopedKey portKey;
        if (portKey.Create(cardKey.Get(), PortKeyName(static_cast<int>(port))) != ERROR_SUCCESS) {
            return false;
        }
        const std::string name = ComPortName(static_cast<long long>(card.firstCom) + port - 1);
        if (RegSetValueExA(portKey.Get(), kDosDeviceNameValue, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(name.c_str()),
                           static_cast<DWORD>(name.size() + 1)) != ERROR_SUCCESS) {
            return false;
        }
    }
    return true;
}

bool RemoveCardCallByCall(int cardNumber, int cardCount) {
    const std::string file = SavedKeyFilePath();
    for (int from = cardNumber + 1; from <= cardCount; ++from) {
        if (!MoveCardDown(from, file)) {
            return false;
        }
    }
    ScopedKey parameters;
    return parameters.Open(HKEY_LOCAL_MACHINE, kParametersKeyPath, KEY_ALL_ACCESS) ==
               ERROR_SUCCESS &&
           RegDeleteTreeA(parameters.Get(), CardKeyName(cardCount).c_str()) == ERROR_SUCCESS;
}

}  // namespace zov::bench
