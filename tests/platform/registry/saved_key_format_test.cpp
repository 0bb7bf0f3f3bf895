// Decoding saved-key files: everything that is read from the file is bounded and checked.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/registry/crc32.h"
#include "platform/registry/saved_key_format.h"

namespace zov {
namespace {

constexpr std::size_t kHeaderSize = 28;

// The little-endian words given, as bytes.
std::vector<std::uint8_t> Words(std::initializer_list<std::uint32_t> words) {
    std::vector<std::uint8_t> out;
    for (const std::uint32_t word : words) {
        for (int shift = 0; shift < 32; shift += 8) {
            out.push_back(static_cast<std::uint8_t>(word >> shift));
        }
    }
    return out;
}

// A file around a hand-made payload, with a correct header and checksum, so that only the
// payload's own checks can refuse it.
std::vector<std::uint8_t> WithHeader(const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> file = EncodeSavedKey(KeyTree{});
    file.resize(kHeaderSize);
    const std::uint64_t size = payload.size();
    const std::uint32_t crc = Crc32(payload.data(), payload.size());
    for (std::size_t i = 0; i < 8; ++i) {
        file[16 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    }
    for (std::size_t i = 0; i < 4; ++i) {
        file[24 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
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

LSTATUS Decode(const std::vector<std::uint8_t>& file) {
    KeyTree decoded;
    return DecodeSavedKey(file, &decoded);
}

TEST(SavedKeyFormatTest, RoundTripKeepsNamesTypesDataAndOrder) {
    KeyTree decoded;
    ASSERT_EQ(DecodeSavedKey(EncodeSavedKey(SampleTree()), &decoded), ERROR_SUCCESS);
    EXPECT_EQ(decoded, SampleTree());
    const std::string check = "123456789";  // the standard CRC-32 check value
    EXPECT_EQ(Crc32(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()),
              0xCBF43926U);
}

TEST(SavedKeyFormatTest, ChecksumCatchesAnyFlippedPayloadByte) {
    const std::vector<std::uint8_t> file = EncodeSavedKey(SampleTree());
    for (std::size_t at = kHeaderSize; at < file.size(); ++at) {
        std::vector<std::uint8_t> damaged = file;
        damaged[at] ^= 0x01;
        EXPECT_EQ(Decode(damaged), ERROR_REGISTRY_CORRUPT) << at;
    }
}

TEST(SavedKeyFormatTest, BadHeaderIsNotOursOrCorrupt) {
    const std::vector<std::uint8_t> file = EncodeSavedKey(SampleTree());
    const std::vector<std::pair<std::function<void(std::vector<std::uint8_t>*)>, LSTATUS>> rows = {
        {[](auto* f) { (*f)[0] = 'R'; }, ERROR_NOT_REGISTRY_FILE},  // magic
        {[](auto* f) { (*f)[8] = 2; }, ERROR_NOT_REGISTRY_FILE},    // newer version
        {[](auto* f) { f->clear(); }, ERROR_NOT_REGISTRY_FILE},
        {[](auto* f) { f->push_back(0); }, ERROR_REGISTRY_CORRUPT},  // size in header differs
        {[](auto* f) { f->resize(kHeaderSize - 1); }, ERROR_REGISTRY_CORRUPT}};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        std::vector<std::uint8_t> changed = file;
        rows[row].first(&changed);
        EXPECT_EQ(Decode(changed), rows[row].second) << row;
    }
}

TEST(SavedKeyFormatTest, HugeCountsAndDeepNestingAreRefusedBeforeAnythingIsAllocated) {
    std::vector<std::uint8_t> deep = Words({0});
    for (int level = 0; level < 600; ++level) {
        const std::vector<std::uint8_t> one_subkey_k = Words({0, 1, 1});  // values, subkeys, name
        deep.insert(deep.end(), one_subkey_k.begin(), one_subkey_k.end());
        deep.push_back('k');
    }
    const std::vector<std::uint8_t> end = Words({0, 0});
    deep.insert(deep.end(), end.begin(), end.end());
    for (const auto& payload :
         {Words({0, 0xFFFFFFFF}), Words({0, 0, 0x7FFFFFFF}), Words({0xFFFFFFF0}), deep}) {
        EXPECT_EQ(Decode(WithHeader(payload)), ERROR_REGISTRY_CORRUPT) << payload.size();
    }
}

TEST(SavedKeyFormatTest, DuplicateOrBadNamesAreRefused) {
    const std::vector<std::function<void(KeyTree*)>> rows = {
        [](KeyTree* t) { t->subkeys[1].name = "PORT1"; },
        [](KeyTree* t) { t->values[1].name = "zovirq"; },
        [](KeyTree* t) { t->subkeys[0].name = "A\\B"; },
        [](KeyTree* t) { t->subkeys[0].name.clear(); }};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        KeyTree tree = SampleTree();
        rows[row](&tree);
        EXPECT_EQ(Decode(EncodeSavedKey(tree)), ERROR_REGISTRY_CORRUPT) << row;
    }
}

}  // namespace
}  // namespace zov
