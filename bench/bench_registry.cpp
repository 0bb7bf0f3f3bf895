#include "bench_registry.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/format.h"
#include "platform/registry/registry_database.h"
#include "platform/win32.h"
#include "platform/win32/scoped_key.h"
#include "store/card_layout.h"

namespace zov::bench {
namespace {

namespace fs = std::filesystem;

// $ZOV_BENCH_DATA, or "bench-data" in the working directory.
fs::path DataDirectory() {
    const char* configured = std::getenv("ZOV_BENCH_DATA");
    fs::path directory = configured != nullptr && *configured != '\0' ? configured : "bench-data";
    fs::create_directories(directory);
    return directory;
}

void Fail(const std::string& what, LSTATUS status) {
    (void)std::fprintf(stderr, "card_store_bench: %s failed (status %ld) %s\n", what.c_str(),
                       static_cast<long>(status), ZovRegistryDiagnostic());
    std::exit(1);
}

void SetDword(HKEY key, const char* name, DWORD number) {
    const BYTE bytes[4] = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
                           static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)};
    const LSTATUS status = RegSetValueExA(key, name, 0, REG_DWORD, bytes, sizeof bytes);
    if (status != ERROR_SUCCESS) {
        Fail(FormatText("setting %s", name), status);
    }
}

// Unrelated keys in a thousand groups of a thousand, beside the driver's own service key, so
// that the card keys share their parents' neighbourhood with all of them.
void WriteUnrelatedKeys() {
    constexpr int kGroupSize = 1000;
    RegistryTransaction transaction;
    for (int group = 0; group < kUnrelatedKeyCount / kGroupSize; ++group) {
        ScopedKey groupKey;
        LSTATUS status = groupKey.Create(
            HKEY_LOCAL_MACHINE,
            FormatText("SYSTEM\\CurrentControlSet\\Services\\Unrelated%03d", group));
        if (status != ERROR_SUCCESS) {
            Fail("creating a group key", status);
        }
        for (int item = 0; item < kGroupSize; ++item) {
            ScopedKey itemKey;
            status = itemKey.Create(groupKey.Get(), FormatText("Item%04d", item));
            if (status != ERROR_SUCCESS) {
                Fail("creating an unrelated key", status);
            }
        }
    }
    const LSTATUS status = transaction.Commit();
    if (status != ERROR_SUCCESS) {
        Fail("committing the unrelated keys", status);
    }
}

void WriteCards() {
    RegistryTransaction transaction;
    for (int card = 1; card <= kCardCount; ++card) {
        ScopedKey cardKey;
        LSTATUS status = cardKey.Create(HKEY_LOCAL_MACHINE, CardKeyPath(card));
        if (status != ERROR_SUCCESS) {
            Fail("creating a card key", status);
        }
        SetDword(cardKey.Get(), kPortCountValue, kPortsPerCard);
        for (int port = 1; port <= kPortsPerCard; ++port) {
            ScopedKey portKey;
            status = portKey.Create(cardKey.Get(), PortKeyName(port));
            if (status != ERROR_SUCCESS) {
                Fail("creating a port key", status);
            }
            const std::string name = ComPortName(FirstComOfCard(card) + port - 1);
            status = RegSetValueExA(portKey.Get(), kDosDeviceNameValue, 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(name.c_str()),
                                    static_cast<DWORD>(name.size() + 1));
            if (status != ERROR_SUCCESS) {
                Fail("setting a device name", status);
            }
        }
    }
    const LSTATUS status = transaction.Commit();
    if (status != ERROR_SUCCESS) {
        Fail("committing the cards", status);
    }
}

// The prepared database, built on first use: the unrelated keys first (when asked for), then
// the cards.
fs::path PreparedDatabase(bool withUnrelatedKeys) {
    const fs::path directory = DataDirectory();
    fs::path prepared =
        directory / (withUnrelatedKeys ? "cards-and-unrelated-keys.db" : "cards-only.db");
    if (fs::exists(prepared)) {
        return prepared;
    }
    const fs::path building = directory / "building.db";
    fs::remove(building);
    UseRegistry(building.string());
    if (withUnrelatedKeys) {
        (void)std::fprintf(stderr, "card_store_bench: writing %d unrelated keys into %s (once)\n",
                           kUnrelatedKeyCount, prepared.c_str());
        WriteUnrelatedKeys();
    }
    WriteCards();
    CloseRegistryDatabase();
    fs::rename(building, prepared);
    return prepared;
}

}  // namespace

void UseRegistry(const std::string& path) {
    setenv("ZOVCFG_REGISTRY", path.c_str(), 1);
    CloseRegistryDatabase();
}

void UseCardRegistry(bool withUnrelatedKeys) {
    static int current = -1;
    if (current == static_cast<int>(withUnrelatedKeys)) {
        return;
    }
    fs::path prepared = PreparedDatabase(withUnrelatedKeys);
    const fs::path working = DataDirectory() / "working.db";
    CloseRegistryDatabase();
    fs::copy_file(prepared, working, fs::copy_options::overwrite_existing);
    UseRegistry(working.string());
    // The saved-key file of a renumbering goes beside the database.
    setenv("SystemDrive", DataDirectory().c_str(), 1);
    current = static_cast<int>(withUnrelatedKeys);
}

NewCard SixteenPortPciCard(int firstCom) {
    return DescribeNewCard(ComPortName(firstCom), 2, 1, "", "");
}

int FirstComOfCard(int card) {
    return 1 + (card - 1) * kPortsPerCard;
}

}  // namespace zov::bench
