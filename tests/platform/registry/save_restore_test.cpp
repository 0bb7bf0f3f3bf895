// Saved keys: the decoding of saved-key files, where everything read from the file is bounded
// and checked; RegSaveKeyA and RegRestoreKeyA: the file's mode, the restore's privilege and the
// files it refuses. (A card moved by saving and restoring it, with its privileges and whatever
// occupies the saved-key path: tests/store/card_removal_test.cpp.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/crc32.h"
#include "platform/registry/saved_key_format.h"
#include "registry_test_support.h"

namespace zov::test {
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

constexpr const char* kCards =
    "P\\Card1\n  ZOVBaseAddress = dword:0x2A0\nP\\Card1\\Port1\n  DOSDeviceName = sz:COM21\n"
    "P\\Card2\n  ZOVPortCount = dword:8\nP\\Card2\\Old\n  X = dword:1\n";

class SaveRestoreTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        Build(kCards);
        EnablePrivilege(SE_BACKUP_NAME);
        EnablePrivilege(SE_RESTORE_NAME);
        hive_ = PathInDir("ZOVsavREG");
        card1_ = Open("P\\Card1");
        card2_ = Open("P\\Card2");
        before_ = Dump("P");
        ASSERT_EQ(RegSaveKeyA(card1_, hive_.c_str(), nullptr), ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(card1_);
        RegCloseKey(card2_);
        RegistryTest::TearDown();
    }
    // Restoring file into Card2 fails with status and leaves the registry as it was.
    void ExpectRestoreRefused(const std::string& file, LSTATUS status) {
        EXPECT_EQ(RegRestoreKeyA(card2_, file.c_str(), 0), status) << file;
        EXPECT_EQ(Dump("P"), before_);
    }

    std::string hive_;
    std::string before_;
    HKEY card1_ = nullptr;
    HKEY card2_ = nullptr;
};

TEST_F(SaveRestoreTest, SavedFileIsTheOwnersAloneAndRestoreNeedsItsPrivilege) {
    struct stat info {};
    ASSERT_EQ(stat(hive_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600U);
    // (Saving without its privilege: tests/store/card_removal_test.cpp.)
    DisableAllPrivileges();
    EnablePrivilege(SE_BACKUP_NAME);
    ExpectRestoreRefused(hive_, ERROR_PRIVILEGE_NOT_HELD);
}

TEST_F(SaveRestoreTest, MissingForeignDamagedOrLinkedFileLeavesTheRegistryAsItWas) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(hive_);
    ASSERT_EQ(symlink(hive_.c_str(), PathInDir("link").c_str()), 0);
    EXPECT_NE(RegRestoreKeyA(card2_, PathInDir("link").c_str(), 0), ERROR_SUCCESS);
    ExpectRestoreRefused(PathInDir("nothing"), ERROR_FILE_NOT_FOUND);

    const std::vector<std::pair<std::vector<std::uint8_t>, LSTATUS>> rows = {
        {std::vector<std::uint8_t>(512, 'x'), ERROR_NOT_REGISTRY_FILE},
        {std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 3), ERROR_REGISTRY_CORRUPT}};
    for (const auto& [file, status] : rows) {
        WriteFileBytes(PathInDir("bad"), file);
        ExpectRestoreRefused(PathInDir("bad"), status);
    }
}

TEST_F(SaveRestoreTest, DeletedKeyCanBeNeitherSavedNorRestored) {
    ASSERT_EQ(RegDeleteKeyA(card2_, "Old"), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyA(card2_, ""), ERROR_SUCCESS);
    EXPECT_EQ(RegRestoreKeyA(card2_, hive_.c_str(), 0), ERROR_KEY_DELETED);
    EXPECT_EQ(RegSaveKeyA(card2_, PathInDir("other").c_str(), nullptr), ERROR_KEY_DELETED);
    EXPECT_FALSE(Exists(PathInDir("other")));
}

// The restore reads what this process saved at the path, or nothing: whatever took the saved
// file's place, or sat at the path when the save was refused, is never restored.
TEST_F(SaveRestoreTest, RestoreRefusesAnythingButTheFileThisProcessSaved) {
    const std::string other = PathInDir("other");
    const struct {
        const char* name;
        std::function<void()> meddle;
        LSTATUS status;
    } kMeddling[] = {
        {"renamed over",
         [&] {
             ASSERT_EQ(RegSaveKeyA(card2_, other.c_str(), nullptr), ERROR_SUCCESS);
             ASSERT_EQ(rename(other.c_str(), hive_.c_str()), 0);
         },
         ERROR_REGISTRY_CORRUPT},
        {"linked elsewhere", [&] { ASSERT_EQ(link(hive_.c_str(), other.c_str()), 0); },
         ERROR_REGISTRY_CORRUPT},
        {"save refused over a planted file",
         [&] { ASSERT_EQ(RegSaveKeyA(card2_, hive_.c_str(), nullptr), ERROR_ALREADY_EXISTS); },
         ERROR_FILE_NOT_FOUND},
    };
    for (const auto& meddling : kMeddling) {
        SCOPED_TRACE(meddling.name);
        unlink(hive_.c_str());
        unlink(other.c_str());
        ASSERT_EQ(RegSaveKeyA(card1_, hive_.c_str(), nullptr), ERROR_SUCCESS);
        meddling.meddle();
        ExpectRestoreRefused(hive_, meddling.status);
    }
}

}  // namespace
}  // namespace zov::test
