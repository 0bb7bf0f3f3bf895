// Builds a hostile card registry from the fuzz input and runs the card store over it: the
// census, the configuration check, the add of a new card, the property texts of every card, the
// removal of a card, and the census again. Nothing may crash or trip a sanitizer, and every census
// must end.
//
// The registry is one database in a temporary directory (on /dev/shm when there is one, so
// that synchronous commits stay cheap), created once and wiped before each input.
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "platform/format.h"
#include "platform/win32/scoped_key.h"
#include "store/card_census.h"
#include "store/card_layout.h"
#include "store/card_properties.h"
#include "store/card_removal.h"
#include "store/configuration_check.h"
#include "store/new_card.h"
#include "store/new_card_commit.h"
#include "ui/card_property_texts.h"

namespace {

using zov::fuzz::FuzzInput;

constexpr int kMaxCardNumber = 12;
constexpr int kMaxPortKeys = 17;

// Value types the registry knows, and one it does not.
constexpr DWORD kTypes[] = {REG_DWORD, REG_SZ, REG_BINARY, REG_NONE, REG_MULTI_SZ, 0x7fff};

std::string MakeTemporaryDirectory() {
    for (const char* base : {"/dev/shm", "/tmp"}) {
        struct stat info {};
        if (stat(base, &info) != 0 || !S_ISDIR(info.st_mode)) {
            continue;
        }
        std::string pattern = zov::FormatText("%s/zov-card-fuzz-XXXXXX", base);
        if (mkdtemp(pattern.data()) != nullptr) {
            return pattern;
        }
    }
    std::fputs("card_registry_fuzz: no temporary directory could be made\n", stderr);
    std::abort();
}

// Data of a size chosen to hit the edges: none, short, exactly a DWORD, longer than the 20
// bytes the census reads, and anything up to 40.
std::vector<BYTE> ValueData(FuzzInput& input) {
    static constexpr std::size_t kSizes[] = {0, 1, 3, 4, 4, 4, 5, 8, 20, 21, 24};
    const std::uint8_t pick = input.Byte();
    const std::size_t size = pick < 200 ? kSizes[pick % std::size(kSizes)] : input.Below(41);
    return input.Bytes(size);
}

void SetValue(HKEY key, const char* name, DWORD type, const std::vector<BYTE>& data) {
    RegSetValueExA(key, name, 0, type, data.empty() ? nullptr : data.data(),
                   static_cast<DWORD>(data.size()));
}

// A DOSDeviceName of any length, mostly "COM" and digits so that the number read from it
// varies, with or without its terminating zero.
std::vector<BYTE> DeviceNameData(FuzzInput& input) {
    std::vector<BYTE> data;
    const std::uint8_t shape = input.Byte();
    if ((shape & 1) != 0) {
        data = {'C', 'O', 'M'};
    }
    const std::size_t length = input.Below(21);
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t byte = input.Byte();
        data.push_back((shape & 2) != 0 ? static_cast<BYTE>('0' + byte % 10) : byte);
    }
    if ((shape & 4) == 0) {
        data.push_back(0);
    }
    return data;
}

void BuildCard(FuzzInput& input, HKEY parameters, int card) {
    zov::ScopedKey cardKey;
    if (cardKey.Create(parameters, zov::CardKeyName(card)) != ERROR_SUCCESS) {
        return;
    }
    for (const char* name : {zov::kPortCountValue, zov::kBaseAddressValue, zov::kIrqValue,
                             zov::kBusValue, zov::kSlotValue}) {
        if (input.Flag()) {
            const DWORD type = kTypes[input.Below(std::size(kTypes))];
            SetValue(cardKey.Get(), name, type, ValueData(input));
        }
    }
    const std::size_t ports = input.Below(kMaxPortKeys + 1);
    for (std::size_t port = 1; port <= ports; ++port) {
        zov::ScopedKey portKey;
        if (portKey.Create(cardKey.Get(), zov::PortKeyName(static_cast<int>(port))) !=
            ERROR_SUCCESS) {
            continue;
        }
        if (input.Byte() < 230) {
            const DWORD type = input.Byte() < 200 ? REG_SZ : kTypes[input.Below(std::size(kTypes))];
            SetValue(portKey.Get(), zov::kDosDeviceNameValue, type, DeviceNameData(input));
        }
    }
    // Extra subkeys with names up to and past the registry's limit of 255 characters.
    const std::size_t extras = input.Below(3);
    for (std::size_t extra = 0; extra < extras; ++extra) {
        std::string name = input.Text(input.Below(300));
        for (char& c : name) {
            if (c == '\\') {
                c = '_';
            }
        }
        zov::ScopedKey extraKey;
        extraKey.Create(cardKey.Get(), name);
    }
}

void BuildRegistry(FuzzInput& input) {
    RegistryTransaction transaction;
    zov::ScopedKey parameters;
    if (parameters.Create(HKEY_LOCAL_MACHINE, zov::kParametersKeyPath) != ERROR_SUCCESS) {
        return;
    }
    for (int card = 1; card <= kMaxCardNumber; ++card) {
        // Mostly present, sometimes missing, so that gaps in the numbering occur.
        if (input.Byte() < 220) {
            BuildCard(input, parameters.Get(), card);
        }
    }
    transaction.Commit();
}

void WipeRegistry() {
    RegistryTransaction transaction;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SYSTEM");
    transaction.Commit();
}

// The texts of the properties dialog of every card key, from the properties as it reads them.
std::size_t ShowProperties(int cardCount) {
    std::size_t length = 0;
    const auto textLength = [](const std::optional<std::vector<BYTE>>& bytes,
                               std::string (*text)(const std::vector<BYTE>&)) {
        return bytes ? text(*bytes).size() : 0;
    };
    for (int card = 1; card <= cardCount; ++card) {
        const auto properties = zov::ReadCardProperties(zov::CardKeyPath(card));
        if (!properties) {
            continue;
        }
        length += textLength(properties->baseAddress, zov::BaseAddressText);
        length += textLength(properties->irq, zov::ShortHexText);
        length += textLength(properties->pciBus, zov::ShortHexText);
        length += textLength(properties->pciSlot, zov::ShortHexText);
        length += textLength(properties->portCount, zov::FirstByteDecimalText);
        length += properties->firstPort.value_or("").size();
    }
    return length;
}

void CheckCensus(const zov::CardCensus& census) {
    // The census counts every card key it reached; it lists at most that many rows and never
    // goes past the keys that exist.
    if (census.cardCount < 0 || census.cardCount > kMaxCardNumber + 1 ||
        census.cards.size() > static_cast<std::size_t>(census.cardCount)) {
        __builtin_trap();
    }
}

std::string& DirectoryName() {
    static std::string directory;
    return directory;
}

int RemoveEntry(const char* path, const struct stat* /*info*/, int /*flag*/, struct FTW* /*ftw*/) {
    return remove(path);
}

// The temporary directory goes when the fuzzer exits normally (a crash leaves it for a look).
void RemoveTemporaryDirectory() {
    nftw(DirectoryName().c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    DirectoryName() = MakeTemporaryDirectory();
    const std::string database = DirectoryName() + "/registry.db";
    setenv("ZOVCFG_REGISTRY", database.c_str(), 1);
    // The saved-key file of a renumbering goes beside it.
    setenv("SystemDrive", DirectoryName().c_str(), 1);
    std::atexit(RemoveTemporaryDirectory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    WipeRegistry();
    BuildRegistry(input);

    const zov::CardCensus census = zov::TakeCardCensus();
    CheckCensus(census);
    zov::CheckCardConfiguration();

    static const char* const kStartingPorts[] = {"COM1",  "COM13", "COM250", "COM4294967295",
                                                 "COM-3", "COM",   ""};
    const std::string startingPort = input.Flag() ? std::string(kStartingPorts[input.Below(7)])
                                                  : "COM" + input.Text(input.Below(12));
    const zov::NewCard card = zov::DescribeNewCard(
        startingPort, static_cast<int>(input.Below(4)), static_cast<int>(input.Below(3)),
        input.Text(input.Below(6)), input.Text(input.Below(4)));
    zov::AddCard(card, census.cardCount);

    const zov::CardCensus afterAdd = zov::TakeCardCensus();
    CheckCensus(afterAdd);
    ShowProperties(afterAdd.cardCount + 1);

    // Any number, including ones outside the cards counted (which must change nothing).
    const int removed =
        static_cast<int>(input.Below(static_cast<std::size_t>(afterAdd.cardCount) + 3));
    zov::RemoveAndRenumber(removed, afterAdd.cardCount);
    CheckCensus(zov::TakeCardCensus());
    return 0;
}
