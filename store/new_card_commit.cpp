#include "store/new_card_commit.h"

#include <optional>
#include <vector>

#include "platform/format.h"
#include "platform/win32/scoped_key.h"
#include "store/card_census.h"
#include "store/card_choices.h"
#include "store/card_conflict.h"
#include "store/card_globals.h"
#include "store/card_layout.h"
#include "store/new_card.h"
#include "store/registry_check.h"

namespace {

using zov::CardRefusal;
using zov::NewCard;
using zov::ScopedKey;

constexpr const char* kNotAddedCaption = "Card Not Added";

LSTATUS SetDword(HKEY key, const char* valueName, DWORD number) {
    const BYTE bytes[4] = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
                           static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)};
    return RegSetValueExA(key, valueName, 0, REG_DWORD, bytes, sizeof bytes);
}

LSTATUS SetPortName(HKEY cardKey, int port, uint64_t comNumber) {
    ScopedKey portKey;
    LSTATUS status = portKey.Open(cardKey, zov::PortKeyName(port), KEY_ALL_ACCESS);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    // The name is stored with its terminating zero counted in the data size.
    const std::string name = zov::ComPortName(static_cast<long long>(comNumber));
    status = RegSetValueExA(portKey.Get(), zov::kDosDeviceNameValue, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(name.c_str()),
                            static_cast<DWORD>(name.size() + 1));
    const LSTATUS closed = portKey.Close();
    return status != ERROR_SUCCESS ? status : closed;
}

// Writes card key `number` with its values and port keys, checking every call. Answers
// ERROR_ALREADY_EXISTS when the key is there already: a new card never merges into another.
LSTATUS WriteCard(const NewCard& card, int number) {
    ScopedKey cardKey;
    DWORD disposition = 0;
    LSTATUS status = cardKey.Create(HKEY_LOCAL_MACHINE, zov::CardKeyPath(number), &disposition);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (disposition != REG_CREATED_NEW_KEY) {
        return ERROR_ALREADY_EXISTS;
    }
    if (card.isIsa) {
        status = SetDword(cardKey.Get(), zov::kBaseAddressValue, card.baseAddress);
        if (status == ERROR_SUCCESS) {
            status = SetDword(cardKey.Get(), zov::kIrqValue, card.irq);
        }
    } else {
        status = SetDword(cardKey.Get(), zov::kPortCountValue, card.portCount);
    }
    for (uint32_t port = 1; status == ERROR_SUCCESS && port <= card.portCount; ++port) {
        ScopedKey portKey;
        status = portKey.Create(cardKey.Get(), zov::PortKeyName(static_cast<int>(port)));
        if (status == ERROR_SUCCESS) {
            status = portKey.Close();
        }
    }
    for (uint32_t port = 1; status == ERROR_SUCCESS && port <= card.portCount; ++port) {
        status = SetPortName(cardKey.Get(), static_cast<int>(port), card.firstCom + port - 1ULL);
    }
    const LSTATUS closed = cardKey.Close();
    return status != ERROR_SUCCESS ? status : closed;
}

// What the user can do about a write the registry refused, by its status.
const char* WhatToDoBeforeRetrying(LSTATUS status) {
    if (status == ERROR_DISK_FULL) {
        return "Free some space on the disk that holds the registry, then try again.";
    }
    return "Check that the registry database and its directory are writable, then try again.";
}

CardRefusal NotAdded(int number, LSTATUS status) {
    if (status == ERROR_FILE_NOT_FOUND) {
        return {zov::FormatText("Card%d was not added: the configured cards have changed "
                                "meanwhile, by another program.\n"
                                "Nothing was written. Cancel to see the current list.",
                                number),
                kNotAddedCaption, zov::RefusalKind::kCardsChanged};
    }
    if (status == ERROR_ALREADY_EXISTS) {
        return {zov::FormatText("Card%d was not added: a card with this number has been "
                                "configured meanwhile, by another program.\n"
                                "Nothing was written. Cancel to see the current list.",
                                number),
                kNotAddedCaption, zov::RefusalKind::kCardsChanged};
    }
    return {zov::FormatText("Card%d was not added: the registry refused the change "
                            "(%s).\nNothing was written. %s",
                            number, zov::DescribeRefusal(status).c_str(),
                            WhatToDoBeforeRetrying(status)),
            kNotAddedCaption, zov::RefusalKind::kRegistryFailure};
}

// The card limit's refusal, with the card limit notice's own words.
CardRefusal CardLimitReached() {
    return {zov::kCardLimitText, zov::kCardLimitCaption, zov::RefusalKind::kCardLimit};
}

// The first card, in the lists' order, that passes every check: each automatic value runs
// through its list, the others stay as asked. Nothing when none passes.
std::optional<NewCard> FirstPassingCard(const zov::NewCardRequest& request,
                                        const std::vector<zov::CheckedCard>& cards) {
    NewCard card;
    card.isIsa = request.isIsa;
    card.portCount = request.portCount;
    std::vector<uint32_t> bases;
    std::vector<uint32_t> irqs;
    std::vector<uint32_t> coms;
    if (request.isIsa) {
        for (int index = 0; index < zov::kBaseAddressChoiceCount; ++index) {
            if (!request.baseAddress || *request.baseAddress == zov::BaseAddressChoice(index)) {
                bases.push_back(request.baseAddress.value_or(zov::BaseAddressChoice(index)));
            }
        }
        if (bases.empty()) {
            bases.push_back(*request.baseAddress);
        }
        irqs = request.irq
                   ? std::vector<uint32_t>{*request.irq}
                   : std::vector<uint32_t>(zov::kIrqChoices.begin(), zov::kIrqChoices.end());
    } else {
        bases = {0};
        irqs = {0};
    }
    if (request.firstCom) {
        coms = {*request.firstCom};
    } else {
        for (uint32_t com = zov::kFirstStartingCom; com <= zov::kLastStartingCom; ++com) {
            coms.push_back(com);
        }
    }
    // The checks of base address, interrupt and COM range are independent of each other, so
    // the first passing card in this order has the first passing value of every list.
    for (const uint32_t base : bases) {
        for (const uint32_t irq : irqs) {
            for (const uint32_t com : coms) {
                card.baseAddress = base;
                card.irq = irq;
                card.firstCom = com;
                if (!zov::FindCardConflict(card, cards)) {
                    return card;
                }
            }
        }
    }
    return std::nullopt;
}

// The request with every automatic value at the start of its list.
NewCard FirstListedCard(const zov::NewCardRequest& request) {
    NewCard card;
    card.isIsa = request.isIsa;
    card.portCount = request.portCount;
    card.firstCom = request.firstCom.value_or(zov::kFirstStartingCom);
    if (request.isIsa) {
        card.baseAddress = request.baseAddress.value_or(zov::kFirstBaseAddress);
        card.irq = request.irq.value_or(zov::kIrqChoices.front());
    }
    return card;
}

// Checks and, when write is set, writes the card as card cardCount + 1, inside the caller's
// transaction, which this commits. The census must still count cardCount cards: numbering a
// card after a count that another program has changed since would leave a gap or merge into
// another card.
std::optional<CardRefusal> CheckAndWrite(RegistryTransaction& transaction, const NewCard& card,
                                         int cardCount, int cardsNow, bool write) {
    const int number = cardCount + 1;
    if (cardsNow > cardCount) {
        return NotAdded(number, ERROR_ALREADY_EXISTS);
    }
    if (cardsNow < cardCount) {
        return NotAdded(number, ERROR_FILE_NOT_FOUND);
    }
    if (cardCount >= zov::kMaxCards) {
        return CardLimitReached();
    }
    if (auto conflict = zov::FindCardConflict(card, cardCount)) {
        return conflict;
    }
    if (!write) {
        return std::nullopt;
    }
    LSTATUS status = WriteCard(card, number);
    if (status == ERROR_SUCCESS) {
        status = transaction.Commit();
    }
    if (status != ERROR_SUCCESS) {
        return NotAdded(number, status);
    }
    return std::nullopt;
}

}  // namespace

// The transaction ends before any message is shown, so that no other process waits on a user.
std::optional<zov::CardRefusal> zov::AddCard(const NewCard& card, int cardCount) {
    RegistryTransaction transaction;
    if (transaction.Status() != ERROR_SUCCESS) {
        return NotAdded(cardCount + 1, transaction.Status());
    }
    return CheckAndWrite(transaction, card, cardCount, TakeCardCensus().cardCount, true);
}

zov::CardAddition zov::AddRequestedCard(const NewCardRequest& request, bool dryRun) {
    CardAddition addition;
    RegistryTransaction transaction;
    if (transaction.Status() != ERROR_SUCCESS) {
        addition.card = FirstListedCard(request);
        addition.refusal = NotAdded(1, transaction.Status());
        return addition;
    }
    const int cardCount = TakeCardCensus().cardCount;
    addition.number = cardCount + 1;
    if (cardCount >= kMaxCards) {
        addition.card = FirstListedCard(request);
        addition.refusal = CardLimitReached();
        return addition;
    }
    // When no value passes, the first listed one shows the conflict that stops it.
    addition.card =
        FirstPassingCard(request, ReadCheckedCards(cardCount)).value_or(FirstListedCard(request));
    addition.refusal = CheckAndWrite(transaction, addition.card, cardCount, cardCount, !dryRun);
    return addition;
}
