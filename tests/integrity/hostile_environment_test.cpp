// The card store where the system is against it: a registry it may read but not change, or a
// registry directory that is not there yet. Each ends in a refusal that changes nothing and says
// why, or in the normal outcome.
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
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "card_store_fixture.h"
#include "platform/format.h"
#include "platform/registry/registry_database.h"
#include "platform/registry/saved_key_file.h"
#include "store/card_census.h"
#include "store/card_removal.h"
#include "store/new_card_commit.h"

namespace zov::test {
namespace {

namespace fs = std::filesystem;
using ::testing::StartsWith;

constexpr int kSkipped = 77;
constexpr uid_t kNobody = 65534;

class HostileEnvironmentTest : public CardStoreFixture {
  protected:
    void SetUp() override {
        CardStoreFixture::SetUp();
        Build(IsaCardKeys(1, 4, 10, 0x2A1, 4) + PciCardKeys(2, 8, 20) +
              IsaCardKeys(3, 4, 30, 0x2A3, 6));
        CloseRegistryDatabase();
    }

    // Runs body in a child. It returns "" when all went as it should, else what went wrong, or
    // kSkipReason followed by why the environment could not be made. Fails the test on what
    // went wrong; returns the reason for skipping, or "".
    std::string RunReportingInChild(const std::function<std::string()>& body) {
        const std::string report = PathInDir("report");
        CloseRegistryDatabase();
        const int status = RunInChild([&] {
            std::ofstream out(report);  // opened before the body may drop to another user
            const std::string problems = body();
            out << problems;
            return problems.rfind(kSkipReason, 0) == 0 ? kSkipped : problems.empty() ? 0 : 1;
        });
        std::ifstream in(report);
        const std::string problems{std::istreambuf_iterator<char>(in), {}};
        if (status == kSkipped) {
            return problems.substr(kSkipReason.size());
        }
        EXPECT_EQ(status, 0) << problems;
        EXPECT_EQ(problems, "");
        return "";
    }

    static inline const std::string kSkipReason = "skip: ";
};

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
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        names.insert(entry.path().filename().string());
    }
    std::string listing;
    for (const std::string& name : names) {
        listing += name + "\n";
    }
    return listing;
}

struct UnwritablePlace {
    const char* name;
    const char* refusal;     // how the add's refusal begins; the diagnostic follows
    const char* diagnostic;  // what the registry's diagnostic line says of it
    const char* extraFiles;  // the place holds these besides the registry, one a line
    // In the child, as root: puts the database bytes at dir/registry.db and makes the place
    // unwritable for what follows; "" or a skip reason.
    std::function<std::string(const std::string& dir, const std::vector<std::uint8_t>& db)> make;
};

std::string WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return file.good() ? "" : "cannot write " + path + "\n";
}

// A small tmpfs at dir, in a mount namespace of the child's own so that nothing of it is seen
// outside the child, holding the database.
std::string MountTmpfsWithDatabase(const std::string& dir, const std::vector<std::uint8_t>& db) {
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
    return WriteFile(dir + "/registry.db", db);
}

constexpr const char* kNotWritable =
    "Card4 was not added: the registry refused the change (status 5: ";

const UnwritablePlace kUnwritablePlaces[] = {
    {"read-only file system", kNotWritable, "read-only file system", "",
     [](const std::string& dir, const std::vector<std::uint8_t>& db) -> std::string {
         std::string problems = MountTmpfsWithDatabase(dir, db);
         if (problems.empty() &&
             mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
             return Refused("remounting the tmpfs read-only");
         }
         return problems;
     }},
    {"full file system", "Card4 was not added: the registry refused the change (status 112: ",
     "the disk is full", "filler\n",
     [](const std::string& dir, const std::vector<std::uint8_t>& db) -> std::string {
         std::string problems = MountTmpfsWithDatabase(dir, db);
         // Page by page until nothing more fits.
         std::ofstream filler(dir + "/filler", std::ios::binary);
         const std::vector<char> page(4096, 'f');
         while (filler.write(page.data(), static_cast<std::streamsize>(page.size())).flush()) {
         }
         return problems;
     }},
    // SQLite creates its journal beside the file, so a writable file in a directory that is not
    // writable cannot be changed either. Root writes anywhere: the user nobody tries it.
    {"read-only directory", kNotWritable, "no write permission on its folder", "",
     [](const std::string& dir, const std::vector<std::uint8_t>& db) -> std::string {
         const std::string file = dir + "/registry.db";
         std::string problems = Check(mkdir(dir.c_str(), 0755) == 0, "mkdir " + dir);
         problems += WriteFile(file, db);
         problems += Check(chmod(fs::path(dir).parent_path().c_str(), 0755) == 0 &&
                               chown(dir.c_str(), kNobody, kNobody) == 0 &&
                               chown(file.c_str(), kNobody, kNobody) == 0 &&
                               chmod(file.c_str(), 0644) == 0 && chmod(dir.c_str(), 0555) == 0,
                           "cannot hand the registry to nobody");
         if (!BecomeNobody()) {
             return Refused("dropping to the user nobody");
         }
         return problems;
     }},
};

TEST_F(HostileEnvironmentTest, RegistryThatCannotBeChangedIsListedButRefusesAddAndRemoval) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to mount a file system or to hand files to another user";
    }
    const std::string parameters = Parameters();
    CloseRegistryDatabase();
    const std::vector<std::uint8_t> database = ReadFileBytes(WorkDatabase());
    int number = 0;
    std::string skipped;  // the places that could not be made, and why
    for (const UnwritablePlace& place : kUnwritablePlaces) {
        SCOPED_TRACE(place.name);
        const std::string dir = WorkDir() + "/place" + std::to_string(++number);
        const std::string skipReason = RunReportingInChild([&]() -> std::string {
            std::string problems = place.make(dir, database);
            if (problems.rfind(kSkipReason, 0) == 0) {
                return problems;
            }
            setenv("ZOVCFG_REGISTRY", (dir + "/registry.db").c_str(), 1);
            setenv("SystemDrive", dir.c_str(), 1);
            CloseRegistryDatabase();

            const CardCensus census = TakeCardCensus();
            problems += Check(census.cardCount == 3 && census.cards.size() == 3,
                              FormatText("the census saw %d cards", census.cardCount));
            const auto refusal = AddCard(DescribeNewCard("COM40", 0, 1, "", ""), 3);
            const std::string diagnostic = ZovRegistryDiagnostic();
            problems += Check(refusal && refusal->caption == "Card Not Added" &&
                                  refusal->text.rfind(place.refusal + diagnostic + ").", 0) == 0,
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
            problems += Check(files == std::string(place.extraFiles) + "registry.db\n",
                              "files left:\n" + files);
            return problems;
        });
        if (!skipReason.empty()) {
            skipped += std::string("\n") + place.name + ": " + skipReason;
        }
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

// Between the save and the restore of a card moved down, another user renames a saved-key file
// of their own over the path, in a folder they may write. The restore must not take it.
std::vector<std::uint8_t> planted_bytes;
int swaps = 0;

void SwapInAnotherUsersFile(const std::string& path) {
    const int status = RunInChild([&path] {
        const std::string own = path + ".theirs";
        return BecomeNobody() && WriteFile(own, planted_bytes).empty() &&
                       rename(own.c_str(), path.c_str()) == 0
                   ? 0
                   : 1;
    });
    swaps += status == 0 ? 1 : 0;
}

TEST_F(HostileEnvironmentTest, SavedKeyFileSwappedBeforeItsRestoreFailsTheRemoval) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to let another user into the saved-key folder";
    }
    const std::string open_folder = WorkDir() + "/open";
    ASSERT_EQ(mkdir(open_folder.c_str(), 0777), 0);
    ASSERT_EQ(chmod(open_folder.c_str(), 0777), 0);  // no sticky bit: anyone may rename in it
    ASSERT_EQ(chmod(WorkDir().c_str(), 0755), 0);
    setenv("SystemDrive", open_folder.c_str(), 1);
    {
        // Their file: a genuine saved key, of a card of their own making.
        Build("Theirs\\Card1\\Port1\n  DOSDeviceName = sz:COM99\n");
        HKEY theirs = Open("Theirs\\Card1");
        EnablePrivilege(SE_BACKUP_NAME);
        const std::string made = WorkDir() + "/made";
        ASSERT_EQ(RegSaveKeyA(theirs, made.c_str(), nullptr), ERROR_SUCCESS);
        DisableAllPrivileges();
        RegCloseKey(theirs);
        planted_bytes = ReadFileBytes(made);
    }
    const std::string before = Parameters();
    SetSavedKeyWrittenHook(&SwapInAnotherUsersFile);
    const auto failure = RemoveAndRenumber(1, 3);
    SetSavedKeyWrittenHook(nullptr);
    EXPECT_EQ(swaps, 1);
    EXPECT_EQ(failure,
              FormatText("RegRestoreKey returned %ld", static_cast<long>(ERROR_REGISTRY_CORRUPT)));
    EXPECT_EQ(Parameters(), before);
}

}  // namespace
}  // namespace zov::test
