// The card store where the system is against it: a registry on a file system that is read-only or
// full, or a registry directory that is not there yet. Each ends in a refusal that changes
// nothing and says why (the cards and their properties are read all the same), or in the normal
// outcome. (A registry whose file or folder its user may not write:
// tests/platform/registry/permission_model_test.cpp and multi_process_test.cpp.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "card_store_fixture.h"
#include "platform/format.h"
#include "platform/registry/registry_database.h"
#include "store/card_census.h"
#include "store/card_layout.h"
#include "store/card_properties.h"
#include "store/card_removal.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

using ::testing::StartsWith;

constexpr int kSkipped = 77;
const std::string kSkipReason = "skip: ";

using HostileEnvironmentTest = CardStoreFixture;

// Why a system call that builds the environment failed, as a skip reason.
std::string Refused(const char* call) {
    return FormatText(
        "skip: %s was refused (%s); a container without CAP_SYS_ADMIN cannot run "
        "this",
        call, std::strerror(errno));
}

std::string Check(bool ok, const std::string& what) {
    return ok ? std::string() : what + "\n";
}

// The files of a directory, by name in order, one a line.
std::string Listing(const std::string& dir) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        names.insert(entry.path().filename().string());
    }
    std::string listing;
    for (const std::string& name : names) {
        listing += name + "\n";
    }
    return listing;
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
    int number = 0;
    std::string skipped;  // the places that could not be made, and why
    for (const auto& place : kPlaces) {
        SCOPED_TRACE(place.name);
        const std::string dir = WorkDir() + "/place" + std::to_string(++number);
        const std::string report = PathInDir("report");
        // The child reports "" when all went as it should, else what went wrong, or kSkipReason
        // and why the place could not be made.
        const int status = RunInChild([&] {
            std::ofstream out(report);
            std::string problems = MakeUnwritablePlace(dir, database, place.full);
            if (!problems.empty()) {
                out << problems;
                return kSkipped;
            }
            setenv("ZOVCFG_REGISTRY", (dir + "/registry.db").c_str(), 1);
            setenv("SystemDrive", dir.c_str(), 1);
            CloseRegistryDatabase();

            const CardCensus census = TakeCardCensus();
            problems += Check(census.cardCount == 3 && census.cards.size() == 3,
                              FormatText("the census saw %d cards", census.cardCount));
            problems +=
                Check(ReadCardProperties(CardKeyPath(1)).has_value(), "no properties of Card1");
            const auto refusal = AddCard(DescribeNewCard("COM40", 0, 1, "", ""), 3);
            const std::string diagnostic = ZovRegistryDiagnostic();
            const std::string expected =
                FormatText("Card4 was not added: the registry refused the change (status %d: %s).",
                           place.status, diagnostic.c_str());
            problems += Check(refusal && refusal->caption == "Card Not Added" &&
                                  refusal->text.rfind(expected, 0) == 0,
                              "add: " + (refusal ? refusal->text : "no refusal"));
            problems += Check(diagnostic.find(place.diagnostic) != std::string::npos &&
                                  diagnostic.find(dir) != std::string::npos,
                              "diagnostic: " + diagnostic);
            // The highest card goes without the saved-key file, a lower one through it.
            for (const int card : {3, 1}) {
                const auto failure = RemoveAndRenumber(card, 3);
                problems += Check(
                    failure && failure->rfind(FormatText("Card%d was not removed: ", card), 0) == 0,
                    "removal: " + failure.value_or("no failure"));
            }
            problems += Check(Parameters() == parameters, "registry changed:\n" + Parameters());
            CloseRegistryDatabase();
            problems += Check(ReadFileBytes(dir + "/registry.db") == database, "file changed");
            const std::string files = Listing(dir);
            problems += Check(files == (place.full ? "filler\nregistry.db\n" : "registry.db\n"),
                              "files left:\n" + files);
            out << problems;
            return problems.empty() ? 0 : 1;
        });
        std::ifstream in(report);
        const std::string problems{std::istreambuf_iterator<char>(in), {}};
        if (status == kSkipped) {
            skipped += std::string("\n") + place.name + ": " + problems.substr(kSkipReason.size());
            continue;
        }
        EXPECT_EQ(status, 0) << problems;
        EXPECT_EQ(problems, "");
    }
    if (!skipped.empty()) {
        GTEST_SKIP() << "not every place could be made:" << skipped;
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
