// Writes the seed inputs of the fuzz targets into FOLDER/<target>/ (the committed ones live in
// fuzz/corpus): make_seed_corpus FOLDER
//
// The card registry seeds follow the order in which card_registry_fuzz.cpp reads its input
// (FuzzInput: a one-byte choice, a two-byte number taken modulo its limit, raw bytes), so that
// fuzzing starts from registries the card store really meets: complete ISA and PCI cards, a gap
// in the numbering, an oversized port count, device names without their terminating zero.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "platform/crc32.h"
#include "platform/format.h"
#include "platform/registry/saved_key_format.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The index of each type in card_registry_fuzz's kTypes.
enum class ValueKind : std::uint8_t { kDword, kSz, kBinary, kNone, kMultiSz, kUnknown };

constexpr int kCardSlots = 12;
constexpr std::uint8_t kMissingCard = 255;

Bytes operator+(Bytes left, const Bytes& right) {
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

Bytes& operator+=(Bytes& left, const Bytes& right) {
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

Bytes TextBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// A number that FuzzInput::Below reads back as itself: two bytes, high one first.
Bytes Below(std::size_t number) {
    return {static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number & 0xFF)};
}

Bytes LittleEndian(std::uint64_t number, int size) {
    Bytes out;
    for (int i = 0; i < size; ++i) {
        out.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    }
    return out;
}

Bytes Dword(std::uint32_t number) {
    return LittleEndian(number, 4);
}

// The size pick of ValueData that gives data of exactly this length.
std::uint8_t SizePick(std::size_t length) {
    static const std::map<std::size_t, std::uint8_t> kPicks = {
        {0, 0}, {1, 1}, {3, 2}, {4, 3}, {5, 6}, {8, 7}, {20, 8}, {21, 9}, {24, 10}};
    return kPicks.at(length);
}

struct StoredValue {
    ValueKind kind;
    Bytes data;
};

Bytes Value(const StoredValue& value) {
    return Bytes{1} + Below(static_cast<std::size_t>(value.kind)) +
           Bytes{SizePick(value.data.size())} + value.data;
}

// A port key with a REG_SZ DOSDeviceName; "COM" names keep only their digits in the input.
Bytes Port(const std::string& name, bool terminated = true) {
    const bool com = name.starts_with("COM");
    const std::string digits = com ? name.substr(3) : name;
    const auto shape = static_cast<std::uint8_t>((com ? 1 : 0) | (terminated ? 0 : 4));
    return Bytes{0, 0, shape} + Below(digits.size()) + TextBytes(digits);
}

// The card values in the order the target offers them; a missing one is left unset.
enum class CardValue { kPortCount, kBaseAddress, kIrq, kBus, kSlot };
using CardValues = std::map<CardValue, StoredValue>;

Bytes Card(const CardValues& values, const std::vector<Bytes>& ports,
           const std::vector<std::string>& extras = {}) {
    Bytes out{0};
    for (const CardValue name : {CardValue::kPortCount, CardValue::kBaseAddress, CardValue::kIrq,
                                 CardValue::kBus, CardValue::kSlot}) {
        const auto value = values.find(name);
        out += value != values.end() ? Value(value->second) : Bytes{0};
    }
    out += Below(ports.size());
    for (const Bytes& port : ports) {
        out += port;
    }
    out += Below(extras.size());
    for (const std::string& extra : extras) {
        out += Below(extra.size()) + TextBytes(extra);
    }
    return out;
}

struct RegistryChoices {
    std::string startingPort;
    std::size_t portIndex;
    std::size_t busIndex;
    std::string base;
    std::string irq;
    std::size_t removed;
};

Bytes Registry(const std::vector<Bytes>& cards, const RegistryChoices& choices) {
    Bytes out;
    for (const Bytes& card : cards) {
        out += card;
    }
    out.insert(out.end(), static_cast<std::size_t>(kCardSlots) - cards.size(), kMissingCard);
    // The text form of the starting port: the target puts "COM" in front of it.
    const std::string digits = choices.startingPort.substr(3);
    out += Bytes{0} + Below(digits.size()) + TextBytes(digits);
    out += Below(choices.portIndex) + Below(choices.busIndex);
    out += Below(choices.base.size()) + TextBytes(choices.base);
    out += Below(choices.irq.size()) + TextBytes(choices.irq);
    return out + Below(choices.removed);
}

std::vector<Bytes> ComPorts(int first, int count) {
    std::vector<Bytes> ports;
    for (int i = 0; i < count; ++i) {
        ports.push_back(Port("COM" + std::to_string(first + i)));
    }
    return ports;
}

StoredValue DwordValue(std::uint32_t number) {
    return {ValueKind::kDword, Dword(number)};
}

Bytes Isa(int first, int count, const std::vector<std::string>& extras = {}) {
    return Card({{CardValue::kBaseAddress, DwordValue(0x2A0)}, {CardValue::kIrq, DwordValue(7)}},
                ComPorts(first, count), extras);
}

// A PCI card whose port count is stored as itself unless another value is given.
Bytes Pci(int first, int count, std::optional<StoredValue> portCount = std::nullopt) {
    return Card(
        {{CardValue::kPortCount, portCount.value_or(DwordValue(static_cast<std::uint32_t>(count)))},
         {CardValue::kBus, DwordValue(2)},
         {CardValue::kSlot, DwordValue(9)}},
        ComPorts(first, count));
}

struct SavedValue {
    std::string name;
    std::uint32_t type;
    Bytes data;
};

Bytes SavedKeyPayload(const std::string& name, const std::vector<SavedValue>& values,
                      const std::vector<Bytes>& subkeys) {
    Bytes out = Dword(static_cast<std::uint32_t>(name.size())) + TextBytes(name);
    out += Dword(static_cast<std::uint32_t>(values.size()));
    for (const SavedValue& value : values) {
        out += Dword(static_cast<std::uint32_t>(value.name.size())) + TextBytes(value.name);
        out +=
            Dword(value.type) + Dword(static_cast<std::uint32_t>(value.data.size())) + value.data;
    }
    out += Dword(static_cast<std::uint32_t>(subkeys.size()));
    for (const Bytes& subkey : subkeys) {
        out += subkey;
    }
    return out;
}

Bytes SavedKeyFile(const Bytes& payload, std::uint32_t version = zov::kSavedKeyFormatVersion) {
    return TextBytes("ZOVSKEY\x1a") + Dword(version) + Dword(0) + LittleEndian(payload.size(), 8) +
           Dword(zov::Crc32(payload.data(), payload.size())) + payload;
}

struct Seed {
    const char* target;
    const char* name;
    Bytes data;
};

std::vector<Seed> CardRegistrySeeds() {
    std::vector<Bytes> eightCards;
    for (int i = 0; i < 8; ++i) {
        eightCards.push_back(Pci(1 + 16 * i, 16));
    }
    Bytes twenty(20);
    std::iota(twenty.begin(), twenty.end(), std::uint8_t{0});
    const char* target = "card_registry_fuzz";
    return {
        {target, "two-cards-add-isa",
         Registry({Isa(5, 4), Pci(11, 8)}, {"COM21", 1, 0, "2A0", "7", 1})},
        {target, "eight-cards-remove-first", Registry(eightCards, {"COM200", 2, 1, "", "", 1})},
        {target, "gap-hides-later-cards",
         Registry({Isa(5, 4), Bytes{kMissingCard}, Isa(9, 4)}, {"COM9", 0, 0, "3F0", "5", 2})},
        {target, "oversized-port-count",
         Registry({Pci(3, 4, StoredValue{ValueKind::kBinary, twenty}),
                   Isa(20, 8, {std::string(260, 'x')})},
                  {"COM3", 0, 1, "", "", 1})},
        {target, "names-without-zero",
         Registry(
             {Card({{CardValue::kBaseAddress, StoredValue{ValueKind::kBinary, {0xf0, 0x03, 0x00}}},
                    {CardValue::kIrq, StoredValue{ValueKind::kSz, {0x0a}}}},
                   {Port("COM1234567", false), Port("COM7", false)})},
             {"COM-3", 3, 0, "zz", "99", 1})},
    };
}

// The first input byte tells the target what follows: 0 a whole file, 1 a payload that it
// puts a valid header in front of.
std::vector<Seed> SavedKeyReaderSeeds() {
    const Bytes port1 =
        SavedKeyPayload("Port1", {{"DOSDeviceName", 1, TextBytes("COM5") + Bytes{0}}}, {});
    const Bytes card2 = SavedKeyPayload(
        "Card2", {{"ZOVBaseAddress", 4, Dword(0x2A0)}, {"ZOVIrq", 4, Dword(7)}}, {port1});
    const Bytes empty = SavedKeyPayload("", {}, {});
    const char* target = "saved_key_reader_fuzz";
    return {
        {target, "card-with-port-file", Bytes{0} + SavedKeyFile(card2)},
        {target, "card-with-port-payload", Bytes{1} + card2},
        {target, "empty-key-payload", Bytes{1} + empty},
        {target, "wrong-version-file",
         Bytes{0} + SavedKeyFile(empty, zov::kSavedKeyFormatVersion + 1)},
    };
}

bool WriteSeed(const std::filesystem::path& folder, const Seed& seed) {
    std::error_code error;
    std::filesystem::create_directories(folder / seed.target, error);
    if (error) {
        std::fputs(zov::FormatText("make_seed_corpus: cannot create %s: %s\n",
                                   (folder / seed.target).c_str(), error.message().c_str())
                       .c_str(),
                   stderr);
        return false;
    }
    const std::filesystem::path path = folder / seed.target / seed.name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(seed.data.data()),
               static_cast<std::streamsize>(seed.data.size()));
    file.close();
    if (!file) {
        std::fputs(zov::FormatText("make_seed_corpus: cannot write %s: %s\n", path.c_str(),
                                   std::strerror(errno))
                       .c_str(),
                   stderr);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_seed_corpus FOLDER (fuzz/corpus for the committed seeds)\n",
                   stderr);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    for (const auto& seeds : {CardRegistrySeeds(), SavedKeyReaderSeeds()}) {
        for (const Seed& seed : seeds) {
            if (!WriteSeed(folder, seed)) {
                return 1;
            }
        }
    }
    return 0;
}
