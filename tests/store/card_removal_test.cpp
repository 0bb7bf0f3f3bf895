#include "store/card_removal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "card_store_test.h"
#include "platform/security/credentials.h"
#include "platform/security/privileges.h"

namespace zov::test {
namespace {

// The dump of card `number` of a registry dumped from the Parameters key, renamed to `as`.
std::string CardIn(const std::string& dump, int number, int as) {
    const std::string name = "Card" + std::to_string(number);
    std::string out;
    bool inCard = false;
    for (std::size_t start = 0, end = 0; start < dump.size(); start = end + 1) {
        end = dump.find('\n', start);
        std::string line = dump.substr(start, end - start);
        if (line[0] != ' ') {
            inCard = line == name || line.rfind(name + "\\", 0) == 0;
            if (inCard) {
                line = "Card" + std::to_string(as) + line.substr(name.size());
            }
        }
        out += inCard ? line + "\n" : "";
    }
    return out;
}

class CardRemovalTest : public CardStoreTest {
  protected:
    // Removes card n of the cards in the registry and checks that cards above it moved down.
    void ExpectRemoved(int n, int count) {
        const std::string before = Parameters();
        EXPECT_EQ(RemoveAndRenumber(n, count), std::nullopt);
        std::string expected;
        for (int card = 1; card < count; ++card) {
            expected += CardIn(before, card < n ? card : card + 1, card);
        }
        EXPECT_EQ(Parameters(), expected);
        EXPECT_FALSE(Exists(SavedKeyFile()));
        // Each privilege was on only for its one call.
        EXPECT_FALSE(IsPrivilegeEnabled(Privilege::Backup));
        EXPECT_FALSE(IsPrivilegeEnabled(Privilege::Restore));
    }
};

// Card 4 has subkeys of any name, which go or move with it; a card moved over one with more
// ports and other values leaves nothing of it (the dumps compare whole).
TEST_F(CardRemovalTest, AnyCardGoesAndTheCardsAboveMoveDownWithTheirPorts) {
    const std::string fourCards = IsaCardKeys(1, 4, 1) + PciCardKeys(2, 8, 5) +
                                  IsaCardKeys(3, 16, 13) + PciCardKeys(4, 4, 29) + CardPath(4) +
                                  "\\Port7\n" + CardPath(4) + "\\Diagnostics\\Deeper\n";
    for (const int n : {1, 2, 4}) {
        SCOPED_TRACE(n);
        Build(fourCards);
        ExpectRemoved(n, 4);
        ExpectRemoved(1, 3);
        ExpectRemoved(2, 2);
        ExpectRemoved(1, 1);  // the only card goes without a saved-key file
    }
}

// A file or a link there is replaced, never followed; a directory, which cannot be cleared,
// makes the removal refuse until it is gone.
TEST_F(CardRemovalTest, WhatOccupiesTheSavedKeyPathIsReplacedOrRefusedNeverFollowed) {
    const std::string target = PathInDir("target");
    WriteFileBytes(target, {'k', 'e', 'e', 'p'});
    const struct {
        const char* name;
        int (*occupy)(const char* path, const char* target);
        bool refused;
    } kOccupants[] = {
        {"file", [](const char* path, const char*) { return close(creat(path, 0600)); }, false},
        {"link", [](const char* path, const char* to) { return symlink(to, path); }, false},
        {"directory", [](const char* path, const char*) { return mkdir(path, 0700); }, true}};
    for (const auto& occupant : kOccupants) {
        SCOPED_TRACE(occupant.name);
        Build(IsaCardKeys(1, 4, 1) + PciCardKeys(2, 8, 5));
        ASSERT_EQ(occupant.occupy(SavedKeyFile().c_str(), target.c_str()), 0);
        if (occupant.refused) {
            const std::string before = Parameters();
            const auto failure = RemoveAndRenumber(1, 2);
            ASSERT_NE(failure, std::nullopt);
            EXPECT_EQ(
                failure->rfind("Card1 was not removed: the saved-key file " + SavedKeyFile(), 0),
                0U)
                << *failure;
            EXPECT_EQ(Parameters(), before);
            EXPECT_EQ(rmdir(SavedKeyFile().c_str()), 0) << "the directory went";
        }
        ExpectRemoved(1, 2);
        ExpectRemoved(1, 1);
    }
    EXPECT_EQ(ReadFileBytes(target), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
}

// A number the census never gave: no saved-key file, no message, nothing changed.
TEST_F(CardRemovalTest, NumberOutsideTheCardsChangesNothing) {
    Build(IsaCardKeys(1, 4, 1) + PciCardKeys(2, 8, 5) + IsaCardKeys(3, 4, 13));
    const std::string before = Parameters();
    for (const int n : {0, -1, 4}) {
        EXPECT_EQ(RemoveAndRenumber(n, 3), std::nullopt) << n;
        EXPECT_EQ(Parameters(), before) << n;
        EXPECT_FALSE(Exists(SavedKeyFile())) << n;
    }
}

TEST_F(CardRemovalTest, WithoutPrivilegesNothingChangesAndTheReasonIsGiven) {
    Build(IsaCardKeys(1, 4, 1) + PciCardKeys(2, 8, 5) + IsaCardKeys(3, 4, 13));
    const std::string before = Parameters();
    const ScopedProcessCredentials asUser(InGroup(4242));
    const auto failure = RemoveAndRenumber(1, 3);
    ASSERT_NE(failure, std::nullopt);
    EXPECT_EQ(*failure, "Card1 was not removed: saving Card2 to " + SavedKeyFile() +
                            " failed (status 1314).\nThe registry was left as it was.");
    EXPECT_EQ(Parameters(), before);
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
}  // namespace zov::test
