// The card store where the system is against it: a registry on a file system that is read-only or
// full, or a registry directory that is not there yet. Each ends in a refusal that changes
// nothing and says why (the cards and their properties are read all the same), or in the normal
// outcome. (A registry whose file or folder its user may not write:
// tests/platform/registry/permission_model_test.cpp.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "card_store_test.h"
#include "platform/format.h"
#include "store/card_census.h"
#include "store/card_layout.h"
#include "store/card_properties.h"
#include "store/card_removal.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr int kSkipped = 77;

using HostileEnvironmentTest = CardStoreFixture;

// Why a system call that builds the environment failed.
std::string Refused(const char* call) {
    return FormatText("%s was refused (%s); a container without CAP_SYS_ADMIN cannot run this",
                      call, std::strerror(errno));
}

// In a child, as root: a small tmpfs at dir, in a mount namespace of the child's own so that
// nothing of it is seen outside the child, holding the database at dir/registry.db; then made
// read-only, or filled page by page until nothing more fits. "" or a skip reason.
std::string MakeUnwritablePlace(const std::string& dir, const std::vector<std::uint8_t>& db,
                                bool full) {
    if (unshare(CLONE_NEWNS) != 0) {
        return Refused("unshare(CLONE_NEWNS)");
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return Refused("making the mounts private");
    }
    if (mkdir(dir.c_str(), 0755) != 0 ||
        mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=1m,mode=0755") != 0) {
        return Refused("mounting a tmpfs");
    }
    std::ofstream(dir + "/registry.db", std::ios::binary)
        .write(reinterpret_cast<const char*>(db.data()), static_cast<std::streamsize>(db.size()));
    if (!full) {
        return mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0
                   ? ""
                   : Refused("remounting the tmpfs read-only");
    }
    std::ofstream filler(dir + "/filler", std::ios::binary);
    const std::vector<char> page(4096, 'f');
    while (filler.write(page.data(), static_cast<std::streamsize>(page.size())).flush()) {
    }
    return "";
}

TEST_F(HostileEnvironmentTest, RegistryThatCannotBeChangedIsListedButRefusesAddAndRemoval) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to mount a file system";
    }
    Build(IsaCardKeys(1, 4, 10, 0x2A1, 4) + PciCardKeys(2, 8, 20) +
          IsaCardKeys(3, 4, 30, 0x2A3, 6));
    const std::string parameters = Parameters();
    CloseRegistryDatabase();
    const std::vector<std::uint8_t> database = ReadFileBytes(WorkDatabase());
    const struct {
        const char* name;
        int status;              // in the add's refusal, before the diagnostic
        const char* diagnostic;  // what the registry's diagnostic line says of the place
        bool full;
    } kPlaces[] = {{"read-only file system", 5, "read-only file system", false},
                   {"full file system", 112, "the disk is full", true}};
    // Each place in a child of its own, whose checks report there; a child that could not make
    // its place says why and ends with kSkipped.
    std::vector<int> statuses;
    for (const auto& place : kPlaces) {
        const std::string dir = WorkDir() + "/place" + std::to_string(statuses.size() + 1);
        statuses.push_back(RunInChild([&] {
            const std::string why = MakeUnwritablePlace(dir, database, place.full);
            if (!why.empty()) {
                std::cerr << place.name << " could not be made: " << why << "\n";
                return kSkipped;
            }
            setenv("ZOVCFG_REGISTRY", (dir + "/registry.db").c_str(), 1);
            UseSystemDrive(dir);
            CloseRegistryDatabase();
            SCOPED_TRACE(place.name);

            const CardCensus census = TakeCardCensus();
            EXPECT_EQ(census.cardCount, 3);
            EXPECT_EQ(census.cards.size(), 3U);
            EXPECT_TRUE(ReadCardProperties(CardKeyPath(1)).has_value());
            const CardRefusal refusal =
                AddCard(DescribeNewCard("COM40", 0, 1, "", ""), 3).value_or(CardRefusal{});
            const std::string diagnostic = ZovRegistryDiagnostic();
            EXPECT_THAT(diagnostic, AllOf(HasSubstr(place.diagnostic), HasSubstr(dir)));
            EXPECT_EQ(refusal.caption, "Card Not Added");
            EXPECT_THAT(refusal.text, StartsWith(FormatText("Card4 was not added: the registry "
                                                            "refused the change (status %d: %s).",
                                                            place.status, diagnostic.c_str())));
            // The highest card goes without the saved-key file, a lower one through it.
            for (const int card : {3, 1}) {
                EXPECT_THAT(RemoveAndRenumber(card, 3).value_or("no failure"),
                            StartsWith(FormatText("Card%d was not removed: ", card)));
            }
            EXPECT_EQ(Parameters(), parameters);
            CloseRegistryDatabase();
            EXPECT_EQ(ReadFileBytes(dir + "/registry.db"), database);
            EXPECT_FALSE(Exists(dir + "/registry.db-journal"));
            EXPECT_FALSE(Exists(SavedKeyFile()));
            return ::testing::Test::HasFailure() ? 1 : 0;
        }));
    }
    for (std::size_t i = 0; i < statuses.size(); ++i) {
        EXPECT_TRUE(statuses[i] == 0 || statuses[i] == kSkipped)
            << kPlaces[i].name << ": its checks failed (above)";
    }
    if (std::count(statuses.begin(), statuses.end(), kSkipped) > 0) {
        GTEST_SKIP() << "not every place could be made (why: above)";
    }
}

TEST_F(HostileEnvironmentTest, MissingRegistryDirectoryReadsEmptyAndTheFirstAddCreatesIt) {
    const std::string top = WorkDir() + "/missing";
    const std::string database = top + "/sub/registry.db";
    setenv("ZOVCFG_REGISTRY", database.c_str(), 1);
    CloseRegistryDatabase();

    const CardCensus census = TakeCardCensus();
    EXPECT_EQ(census.cardCount, 0);
    EXPECT_TRUE(census.cards.empty());
    // A removal made with a count from an earlier registry meets no card and changes nothing.
    const auto removal = RemoveAndRenumber(1, 1);
    ASSERT_TRUE(removal.has_value());
    EXPECT_THAT(*removal, StartsWith("Card1 was not removed: the configured cards have changed"));
    EXPECT_FALSE(Exists(top));
    // The modes of what the first write creates: permission_model_test.cpp.
    EXPECT_EQ(AddCard(DescribeNewCard("COM40", 0, 1, "", ""), 0), std::nullopt);
    EXPECT_TRUE(Exists(database));
    EXPECT_EQ(CensusRows(TakeCardCensus()), std::vector<std::string>{"Card1\tPCI\t4\tCOM40\t"});
}

}  // namespace
}  // namespace zov::test
