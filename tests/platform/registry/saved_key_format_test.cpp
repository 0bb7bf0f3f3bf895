// Decoding saved-key files: everything that is read from the file is bounded and checked.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/crc32.h"
#include "platform/registry/saved_key_format.h"

namespace zov {
namespace {

constexpr std::size_t kHeaderSize = 28;
using Bytes = std::vector<std::uint8_t>;

// The little-endian words given, as bytes.
Bytes Words(std::initializer_list<std::uint32_t> words) {
    Bytes out;
    for (const std::uint32_t word : words) {
        for (int shift = 0; shift < 32; shift += 8) {
            out.push_back(static_cast<std::uint8_t>(word >> shift));
        }
    }
    return out;
}

// A file around a hand-made payload, with a correct header and checksum, so that only the
// payload's own checks can refuse it.
Bytes WithHeader(const Bytes& payload) {
    Bytes file = EncodeSavedKey(KeyTree{});
    file.resize(16);  // the header up to the payload's 64-bit size and its checksum
    const auto size = static_cast<std::uint32_t>(payload.size());
    const Bytes fields = Words({size, 0, Crc32(payload.data(), size)});
    file.insert(file.end(), fields.begin(), fields.end());
    file.insert(file.end(), payload.begin(), payload.end());
    return file;
}

// The payload of a file, without its header.
Bytes Payload(const Bytes& file) {
    return Bytes(file.begin() + kHeaderSize, file.end());
}

KeyTree SampleTree() {
    KeyTree tree;
    tree.name = "Card1";
    tree.values = {{"ZOVIrq", REG_DWORD, {7, 0, 0, 0}}, {"", REG_BINARY, {}}};
    tree.subkeys = {KeyTree{"Port1", {{"DOSDeviceName", REG_SZ, {'C', 'O', 'M', '1', 0}}}, {}},
                    KeyTree{"Port2", {}, {KeyTree{"Deep", {}, {}}}}};
    return tree;
}

TEST(SavedKeyFormatTest, RoundTripKeepsNamesTypesDataAndOrder) {
    KeyTree decoded;
    ASSERT_EQ(DecodeSavedKey(EncodeSavedKey(SampleTree()), &decoded), ERROR_SUCCESS);
    EXPECT_EQ(decoded, SampleTree());
    const std::string check = "123456789";  // the standard CRC-32 check value
    EXPECT_EQ(Crc32(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()),
              0xCBF43926U);
}

Bytes Encoded(void (*edit)(KeyTree*)) {
    KeyTree tree = SampleTree();
    edit(&tree);
    return EncodeSavedKey(tree);
}

Bytes Changed(Bytes file, std::size_t at, int byte) {
    file[at] = static_cast<std::uint8_t>(byte);
    return file;
}

TEST(SavedKeyFormatTest, DamagedFilesAreRefusedAsNotOursOrCorrupt) {
    const Bytes good = EncodeSavedKey(SampleTree());
    KeyTree deep;  // 600 levels of one subkey each
    KeyTree* level = &deep;
    for (int depth = 0; depth < 600; ++depth) {
        level = &level->subkeys.emplace_back(KeyTree{"k", {}, {}});
    }
    Bytes longer = good;
    longer.push_back(0);  // size in the header differs
    std::vector<std::pair<Bytes, LSTATUS>> rows = {
        {Changed(good, 0, 'R'), ERROR_NOT_REGISTRY_FILE},  // magic
        {Changed(good, 8, 2), ERROR_NOT_REGISTRY_FILE},    // newer version
        {{}, ERROR_NOT_REGISTRY_FILE},
        {longer, ERROR_REGISTRY_CORRUPT},
        // A whole key with a byte after it, header and checksum made to match.
        {WithHeader(Payload(longer)), ERROR_REGISTRY_CORRUPT},
        {Bytes(good.begin(), good.begin() + kHeaderSize - 1), ERROR_REGISTRY_CORRUPT},
        // Oversized counts and deep nesting are refused before anything is allocated.
        {WithHeader(Words({0, 0xFFFFFFFF})), ERROR_REGISTRY_CORRUPT},
        {WithHeader(Words({0, 0, 0x7FFFFFFF})), ERROR_REGISTRY_CORRUPT},
        {WithHeader(Words({0xFFFFFFF0})), ERROR_REGISTRY_CORRUPT},
        {EncodeSavedKey(deep), ERROR_REGISTRY_CORRUPT},
        // Duplicate names (without case) and bad names.
        {Encoded([](KeyTree* t) { t->subkeys[1].name = "PORT1"; }), ERROR_REGISTRY_CORRUPT},
        {Encoded([](KeyTree* t) { t->values[1].name = "zovirq"; }), ERROR_REGISTRY_CORRUPT},
        {Encoded([](KeyTree* t) { t->subkeys[0].name = "A\\B"; }), ERROR_REGISTRY_CORRUPT},
        {Encoded([](KeyTree* t) { t->subkeys[0].name.clear(); }), ERROR_REGISTRY_CORRUPT}};
    for (std::size_t at = kHeaderSize; at < good.size(); ++at) {  // the checksum catches any flip
        rows.emplace_back(Changed(good, at, good[at] ^ 1), ERROR_REGISTRY_CORRUPT);
    }
    for (std::size_t row = 0; row < rows.size(); ++row) {
        KeyTree decoded;
        EXPECT_EQ(DecodeSavedKey(rows[row].first, &decoded), rows[row].second) << "row " << row;
    }
}

}  // namespace
}  // namespace zov
