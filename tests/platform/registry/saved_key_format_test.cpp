// Decoding saved-key files: everything that is read from the file is bounded and checked.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/registry/crc32.h"
#include "platform/registry/saved_key_format.h"

namespace zov {
namespace {

constexpr std::size_t kHeaderSize = 28;

void PutU32(std::vector<std::uint8_t>* out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out->push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// A file around a hand-made payload, with a correct header and checksum, so that only the
// payload's own checks can refuse it.
std::vector<std::uint8_t> WithHeader(const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> file = EncodeSavedKey(KeyTree{});
    file.resize(kHeaderSize);
    const std::uint64_t size = payload.size();
    for (int i = 0; i < 8; ++i) {
        file[16 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
    }
    const std::uint32_t crc = Crc32(payload.data(), payload.size());
    for (int i = 0; i < 4; ++i) {
        file[24 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (8 * i));
    }
    file.insert(file.end(), payload.begin(), payload.end());
    return file;
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
}

TEST(SavedKeyFormatTest, ChecksumCatchesAnyFlippedPayloadByte) {
    const std::vector<std::uint8_t> file = EncodeSavedKey(SampleTree());
    for (std::size_t at = kHeaderSize; at < file.size(); ++at) {
        std::vector<std::uint8_t> damaged = file;
        damaged[at] ^= 0x01;
        KeyTree decoded;
        EXPECT_EQ(DecodeSavedKey(damaged, &decoded), ERROR_REGISTRY_CORRUPT) << at;
    }
}

TEST(SavedKeyFormatTest, UnknownMagicOrVersionIsNotOurs) {
    std::vector<std::uint8_t> file = EncodeSavedKey(SampleTree());
    KeyTree decoded;
    std::vector<std::uint8_t> other_magic = file;
    other_magic[0] = 'R';
    EXPECT_EQ(DecodeSavedKey(other_magic, &decoded), ERROR_NOT_REGISTRY_FILE);
    std::vector<std::uint8_t> newer = file;
    newer[8] = 2;
    EXPECT_EQ(DecodeSavedKey(newer, &decoded), ERROR_NOT_REGISTRY_FILE);
    EXPECT_EQ(DecodeSavedKey({}, &decoded), ERROR_NOT_REGISTRY_FILE);
}

TEST(SavedKeyFormatTest, SizeInHeaderMustMatchTheFile) {
    std::vector<std::uint8_t> file = EncodeSavedKey(SampleTree());
    file.push_back(0);
    KeyTree decoded;
    EXPECT_EQ(DecodeSavedKey(file, &decoded), ERROR_REGISTRY_CORRUPT);
    file.resize(kHeaderSize - 1);
    EXPECT_EQ(DecodeSavedKey(file, &decoded), ERROR_REGISTRY_CORRUPT);
}

TEST(SavedKeyFormatTest, HugeCountsAreRefusedBeforeAnythingIsAllocated) {
    std::vector<std::uint8_t> payload;
    PutU32(&payload, 0);           // top key name
    PutU32(&payload, 0xFFFFFFFF);  // values
    KeyTree decoded;
    EXPECT_EQ(DecodeSavedKey(WithHeader(payload), &decoded), ERROR_REGISTRY_CORRUPT);

    payload.clear();
    PutU32(&payload, 0);
    PutU32(&payload, 0);
    PutU32(&payload, 0x7FFFFFFF);  // subkeys
    EXPECT_EQ(DecodeSavedKey(WithHeader(payload), &decoded), ERROR_REGISTRY_CORRUPT);

    payload.clear();
    PutU32(&payload, 0xFFFFFFF0);  // a name longer than the file
    EXPECT_EQ(DecodeSavedKey(WithHeader(payload), &decoded), ERROR_REGISTRY_CORRUPT);
}

TEST(SavedKeyFormatTest, NestingDeeperThanARegistryMayBeIsRefused) {
    std::vector<std::uint8_t> payload;
    constexpr int kDepth = 600;
    PutU32(&payload, 0);
    for (int level = 0; level < kDepth; ++level) {
        PutU32(&payload, 0);  // values
        PutU32(&payload, 1);  // one subkey
        PutU32(&payload, 1);
        payload.push_back('k');
    }
    PutU32(&payload, 0);
    PutU32(&payload, 0);
    KeyTree decoded;
    EXPECT_EQ(DecodeSavedKey(WithHeader(payload), &decoded), ERROR_REGISTRY_CORRUPT);
}

TEST(SavedKeyFormatTest, DuplicateOrBadNamesAreRefused) {
    KeyTree twins = SampleTree();
    twins.subkeys[1].name = "PORT1";
    KeyTree decoded;
    EXPECT_EQ(DecodeSavedKey(EncodeSavedKey(twins), &decoded), ERROR_REGISTRY_CORRUPT);
    KeyTree twin_values = SampleTree();
    twin_values.values[1].name = "zovirq";
    EXPECT_EQ(DecodeSavedKey(EncodeSavedKey(twin_values), &decoded), ERROR_REGISTRY_CORRUPT);
    KeyTree slash = SampleTree();
    slash.subkeys[0].name = "A\\B";
    EXPECT_EQ(DecodeSavedKey(EncodeSavedKey(slash), &decoded), ERROR_REGISTRY_CORRUPT);
    KeyTree unnamed = SampleTree();
    unnamed.subkeys[0].name.clear();
    EXPECT_EQ(DecodeSavedKey(EncodeSavedKey(unnamed), &decoded), ERROR_REGISTRY_CORRUPT);
}

TEST(Crc32Test, MatchesTheStandardCheckValue) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc32(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()),
              0xCBF43926U);
}

}  // namespace
}  // namespace zov
