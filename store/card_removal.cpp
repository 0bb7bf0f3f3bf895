#include "store/card_removal.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/format.h"
#include "platform/win32/kernel.h"
#include "platform/win32/scoped_key.h"
#include "platform/win32/security.h"
#include "store/card_census.h"
#include "store/card_globals.h"
#include "store/card_layout.h"
#include "store/registry_check.h"
#include "store/registry_file.h"
#include "store/scoped_privilege.h"

namespace zov {
namespace {

std::string EnvironmentVariable(const char* name) {
    const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed == 0) {
        return {};
    }
    std::string value(needed, '\0');
    const DWORD length = GetEnvironmentVariableA(name, value.data(), needed);
    value.resize(length < needed ? length : 0);
    return value;
}

// Why a removal did not happen; the registry has been rolled back when it is shown.
std::string NotRemoved(int card, const std::string& reason) {
    return FormatText("Card%d was not removed: %s.\nThe registry was left as it was.", card,
                      reason.c_str());
}

// Moves card `from` over card `from - 1`: saves its key to the file and restores the file over
// the key one number below, which thereby loses all its own values and subkeys.
std::optional<std::string> MoveCardDown(int removed, int from, const std::string& file) {
    if (!DeleteFileA(file.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        return NotRemoved(removed,
                          FormatText("the saved-key file %s could not be cleared "
                                     "(status %lu)",
                                     file.c_str(), static_cast<unsigned long>(GetLastError())));
    }
    {
        ScopedKey source;
        LSTATUS status = source.Open(HKEY_LOCAL_MACHINE, CardKeyPath(from), KEY_ALL_ACCESS);
        if (status != ERROR_SUCCESS) {
            return NotRemoved(removed, FormatText("Card%d could not be opened (%s)", from,
                                                  DescribeRefusal(status).c_str()));
        }
        ScopedPrivilege backup(SE_BACKUP_NAME);
        status = RegSaveKeyA(source.Get(), file.c_str(), nullptr);
        if (status != ERROR_SUCCESS) {
            return NotRemoved(removed, FormatText("saving Card%d to %s failed (status %ld)", from,
                                                  file.c_str(), static_cast<long>(status)));
        }
    }
    ScopedKey target;
    LSTATUS status = target.Open(HKEY_LOCAL_MACHINE, CardKeyPath(from - 1), KEY_ALL_ACCESS);
    if (status != ERROR_SUCCESS) {
        return NotRemoved(removed, FormatText("Card%d could not be opened (%s)", from - 1,
                                              DescribeRefusal(status).c_str()));
    }
    ScopedPrivilege restore(SE_RESTORE_NAME);
    status = RegRestoreKeyA(target.Get(), file.c_str(), 0);
    if (status != ERROR_SUCCESS) {
        return FormatText("RegRestoreKey returned %d", static_cast<int>(status));
    }
    return std::nullopt;
}

std::optional<std::string> RemoveWithin(int removed, int highest, const std::string& file) {
    for (int from = removed + 1; from <= highest; ++from) {
        if (auto failure = MoveCardDown(removed, from, file)) {
            return failure;
        }
    }
    ScopedKey parameters;
    LSTATUS status = parameters.Open(HKEY_LOCAL_MACHINE, kParametersKeyPath, KEY_ALL_ACCESS);
    if (status == ERROR_SUCCESS) {
        status = RegDeleteTreeA(parameters.Get(), CardKeyName(highest).c_str());
    }
    if (status != ERROR_SUCCESS) {
        return NotRemoved(removed, FormatText("Card%d could not be deleted (%s)", highest,
                                              DescribeRefusal(status).c_str()));
    }
    return std::nullopt;
}

}  // namespace

std::string SavedKeyFilePath() {
    std::string directory = EnvironmentVariable("SystemDrive");
    std::error_code error;
    if (directory.empty() || !std::filesystem::is_directory(directory, error)) {
        directory = RegistryFileDirectory();
    }
    return FormatText("%s/ZOVsavREG", directory.c_str());
}

}  // namespace zov

std::optional<zov::CardRefusal> zov::NoSuchCard(int cardNumber, int cardCount) {
    if (cardNumber >= 1 && cardNumber <= cardCount) {
        return std::nullopt;
    }
    return CardRefusal{cardCount == 0
                           ? FormatText("Card%d is not configured: there are no cards.", cardNumber)
                           : FormatText("Card%d is not configured: the cards are Card1 to Card%d.",
                                        cardNumber, cardCount),
                       "", RefusalKind::kNoSuchCard};
}

std::optional<zov::CardRefusal> zov::RemoveNumberedCard(int cardNumber, int cardCount) {
    if (auto refusal = NoSuchCard(cardNumber, cardCount)) {
        return refusal;
    }
    // Only moving cards down needs the saved-key file.
    const std::string file = cardNumber < cardCount ? SavedKeyFilePath() : std::string();
    std::optional<CardRefusal> failure;
    {
        RegistryTransaction transaction;
        LSTATUS status = transaction.Status();
        if (status == ERROR_SUCCESS) {
            // Renumbering after a count that another program has changed since would leave a gap.
            if (TakeCardCensus().cardCount != cardCount) {
                failure = CardRefusal{NotRemoved(cardNumber,
                                                 "the configured cards have changed meanwhile, "
                                                 "by another program"),
                                      "", RefusalKind::kCardsChanged};
            } else {
                if (auto reason = RemoveWithin(cardNumber, cardCount, file)) {
                    failure = CardRefusal{*reason, "", RefusalKind::kRegistryFailure};
                }
            }
            // The file goes while this transaction still holds the registry, so that it is never
            // a file another removal, waiting for the registry, has saved meanwhile. DeleteFileA
            // removes a link itself, never its target.
            DWORD fileError = ERROR_SUCCESS;
            if (!file.empty() && !DeleteFileA(file.c_str()) &&
                GetLastError() != ERROR_FILE_NOT_FOUND) {
                fileError = GetLastError();
            }
            if (!failure) {
                status = transaction.Commit();
                if (status == ERROR_SUCCESS && fileError != ERROR_SUCCESS) {
                    // The card is gone all the same: a warning, not a refusal.
                    failure = CardRefusal{
                        FormatText("Card%d was removed, but the saved-key file %s could not "
                                   "be deleted (status %lu). Delete it by hand.",
                                   cardNumber, file.c_str(), static_cast<unsigned long>(fileError)),
                        "", RefusalKind::kLeftoverFile};
                }
            }
        }
        if (!failure && status != ERROR_SUCCESS) {
            failure =
                CardRefusal{NotRemoved(cardNumber, FormatText("the registry refused the "
                                                              "change (%s)",
                                                              DescribeRefusal(status).c_str())),
                            "", RefusalKind::kRegistryFailure};
        }
    }
    return failure;
}

std::optional<std::string> zov::RemoveAndRenumber(int cardNumber, int cardCount) {
    if (cardNumber < 1 || cardNumber > cardCount) {
        return std::nullopt;
    }
    if (auto failure = RemoveNumberedCard(cardNumber, cardCount)) {
        return failure->text;
    }
    return std::nullopt;
}
