#include "store/card_removal.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/security/credentials.h"
#include "platform/security/privileges.h"
#include "registry_test_support.h"

namespace zov {
namespace {

constexpr const char* kParams = "SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters";

// A card key in the fixture's notation, relative to the Parameters key, with `ports` port keys.
std::string Card(int card, const std::string& values, int ports, int firstCom) {
    const std::string key = std::string(kParams) + "\\Card" + std::to_string(card);
    std::string text = key + "\n" + values;
    for (int port = 1; port <= ports; ++port) {
        text += key + "\\Port" + std::to_string(port) + "\n  DOSDeviceName = sz:COM" +
                std::to_string(firstCom + port - 1) + "\n";
    }
    return text;
}

std::string Isa(int card, int ports, int firstCom) {
    return Card(card, "  ZOVBaseAddress = dword:0x2A0\n  ZOVIrq = dword:7\n", ports, firstCom);
}

std::string Pci(int card, int ports, int firstCom) {
    return Card(card, "  ZOVPortCount = dword:" + std::to_string(ports) + "\n", ports, firstCom);
}

// The dump of card `number` of a registry dumped from the Parameters key, renamed to `as`.
std::string CardIn(const std::string& dump, int number, int as) {
    const std::string name = "Card" + std::to_string(number);
    std::string out;
    std::size_t start = 0;
    bool inCard = false;
    while (start < dump.size()) {
        const std::size_t end = dump.find('\n', start);
        std::string line = dump.substr(start, end - start);
        start = end + 1;
        if (line[0] != ' ') {
            inCard = line == name || line.rfind(name + "\\", 0) == 0;
            if (inCard) {
                line = "Card" + std::to_string(as) + line.substr(name.size());
            }
        }
        if (inCard) {
            out += line + "\n";
        }
    }
    return out;
}

class CardRemovalTest : public test::RegistryTest {
  protected:
    void SetUp() override {
        test::RegistryTest::SetUp();
        setenv("SystemDrive", Dir().c_str(), 1);
    }
    void TearDown() override {
        unsetenv("SystemDrive");
        test::RegistryTest::TearDown();
    }
    std::string Params() { return Dump(kParams); }
    std::string SavedKeyFile() const { return Dir() + "/ZOVsavREG"; }

    // Removes card n of the cards in the registry and checks that cards above it moved down.
    void ExpectRemoved(int n, int count) {
        const std::string before = Params();
        EXPECT_EQ(RemoveAndRenumber(n, count), std::nullopt);
        std::string expected;
        for (int card = 1; card < count; ++card) {
            expected += CardIn(before, card < n ? card : card + 1, card);
        }
        EXPECT_EQ(Params(), expected);
        EXPECT_FALSE(Exists(SavedKeyFile()));
        // Each privilege was on only for its one call.
        EXPECT_FALSE(IsPrivilegeEnabled(Privilege::Backup));
        EXPECT_FALSE(IsPrivilegeEnabled(Privilege::Restore));
    }
};

TEST_F(CardRemovalTest, OnlyCardGoesWithoutSavedKeyFile) {
    Build(Isa(1, 4, 13));
    ExpectRemoved(1, 1);
}

TEST_F(CardRemovalTest, LowerCardsMoveDownWithTheirPorts) {
    Build(Isa(1, 4, 1) + Pci(2, 8, 5) + Isa(3, 16, 13));
    ExpectRemoved(1, 3);
}

TEST_F(CardRemovalTest, MiddleCardOfFour) {
    Build(Isa(1, 4, 1) + Pci(2, 8, 5) + Isa(3, 16, 13) + Pci(4, 4, 29));
    ExpectRemoved(2, 4);
}

TEST_F(CardRemovalTest, HighestOfSeveral) {
    Build(Isa(1, 4, 1) + Pci(2, 8, 5) + Isa(3, 16, 13));
    ExpectRemoved(3, 3);
}

TEST_F(CardRemovalTest, MovedCardLeavesNothingOfTheTarget) {
    // An ISA card with 16 ports is overwritten by a PCI card with 4.
    Build(Isa(1, 16, 1) + Pci(2, 4, 17) + Card(2, "  ZOVSlot = dword:3\n", 0, 0));
    ExpectRemoved(1, 2);
    EXPECT_EQ(Params().find("ZOVBaseAddress"), std::string::npos);
    EXPECT_EQ(Params().find("Port5"), std::string::npos);
}

TEST_F(CardRemovalTest, HighestCardGoesWithSubkeysOfAnyName) {
    Build(Isa(1, 4, 1) + Isa(2, 4, 5) + std::string(kParams) + "\\Card2\\Port7\n" +
          std::string(kParams) + "\\Card2\\Diagnostics\\Deeper\n");
    ExpectRemoved(2, 2);
}

TEST_F(CardRemovalTest, FileLeftAtSavedKeyPathIsReplaced) {
    Build(Isa(1, 4, 1) + Pci(2, 8, 5));
    WriteFileBytes(SavedKeyFile(), {'o', 'l', 'd'});
    ExpectRemoved(1, 2);
}

TEST_F(CardRemovalTest, LinkAtSavedKeyPathIsNeverFollowed) {
    Build(Isa(1, 4, 1) + Pci(2, 8, 5));
    const std::string target = PathInDir("target");
    WriteFileBytes(target, {'k', 'e', 'e', 'p'});
    ASSERT_EQ(symlink(target.c_str(), SavedKeyFile().c_str()), 0);
    ExpectRemoved(1, 2);
    EXPECT_EQ(ReadFileBytes(target), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
}

TEST_F(CardRemovalTest, CardNumberOutsideTheCensusChangesNothing) {
    Build(Isa(1, 4, 1) + Pci(2, 8, 5));
    const std::string before = Params();
    EXPECT_EQ(RemoveAndRenumber(0, 2), std::nullopt);
    EXPECT_EQ(RemoveAndRenumber(3, 2), std::nullopt);
    EXPECT_EQ(RemoveAndRenumber(1, 0), std::nullopt);
    EXPECT_EQ(Params(), before);
}

TEST_F(CardRemovalTest, WithoutPrivilegesNothingChangesAndTheReasonIsGiven) {
    Build(Isa(1, 4, 1) + Pci(2, 8, 5) + Isa(3, 4, 13));
    const std::string before = Params();
    Credentials user = Credentials::OfProcess();
    user.gid = 4242;
    user.supplementary_groups = {4242};
    ScopedProcessCredentials asUser(user);
    const auto failure = RemoveAndRenumber(1, 3);
    ASSERT_NE(failure, std::nullopt);
    EXPECT_EQ(*failure, "Card1 was not removed: saving Card2 to " + SavedKeyFile() +
                            " failed (status 1314).\nThe registry was left as it was.");
    EXPECT_EQ(Params(), before);
    EXPECT_FALSE(Exists(SavedKeyFile()));
}

TEST_F(CardRemovalTest, SavedKeyFileGoesBesideTheRegistryWithoutUsableSystemDrive) {
    unsetenv("SystemDrive");
    EXPECT_EQ(SavedKeyFilePath(), SavedKeyFile());
    setenv("SystemDrive", PathInDir("missing").c_str(), 1);
    EXPECT_EQ(SavedKeyFilePath(), SavedKeyFile());
    setenv("SystemDrive", "/tmp", 1);
    EXPECT_EQ(SavedKeyFilePath(), "/tmp/ZOVsavREG");
}

}  // namespace
}  // namespace zov
