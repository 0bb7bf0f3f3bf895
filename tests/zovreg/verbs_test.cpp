// The verbs run in-process: query, delete, export and import, and what each prints.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/format.h"
#include "zovreg_test_support.h"

namespace zov::test {
namespace {

using namespace std::string_literals;

using QueryTest = ZovregTest;
using DeleteVerbTest = ZovregTest;
using ExportTest = ZovregTest;
using ImportTest = ZovregTest;

const std::string kCard1 = "HKEY_LOCAL_MACHINE\\" + std::string(kParameters) + "\\Card1";

TEST_F(QueryTest, ValuesThenSubkeyNamesOrEveryKeyWithItsValues) {
    BuildTwoCards();
    SetValue(std::string(kParameters) + "\\Card1", "", REG_SZ, Bytes("isa\0"s));
    const ToolRun run = Run({"query", std::string("HKLM\\") + kParameters + "\\card1"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string expected = "\n" + kCard1 +
                           "\n    ZOVBaseAddress    REG_DWORD    0x2a0\n"
                           "    ZOVIrq    REG_DWORD    0x7\n"
                           "    (Default)    REG_SZ    isa\n\n";
    for (int port = 1; port <= 8; ++port) {
        expected += FormatText("%s\\Port%d\n", kCard1.c_str(), port);
    }
    EXPECT_EQ(run.out, expected);
    // Recursive: every key with its values, and values of every type.
    Build("Q\nQ\\Sub\n  DOSDeviceName = sz:COM21\n");
    SetValue("Q", "Multi", REG_MULTI_SZ, Bytes("a\0b\0\0"s));
    SetValue("Q", "Bin", REG_BINARY, {0x01, 0xAB});
    SetValue("Q", "Qw", REG_QWORD, {0x2A, 0, 0, 0, 0, 0, 0, 1});
    SetValue("Q", "Odd", 0x99, {});
    EXPECT_EQ(Run({"query", "HKEY_LOCAL_MACHINE\\Q", "-s"}).out,
              "\nHKEY_LOCAL_MACHINE\\Q\n"
              "    Multi    REG_MULTI_SZ    a\\0b\n"
              "    Bin    REG_BINARY    01AB\n"
              "    Qw    REG_QWORD    0x10000000000002a\n"
              "    Odd    0x99    \n"
              "\nHKEY_LOCAL_MACHINE\\Q\\Sub\n"
              "    DOSDeviceName    REG_SZ    COM21\n");
}

TEST_F(DeleteVerbTest, AsksFirstAndDeletesOnlyOnYesOrForceAndReportsMissingKeys) {
    BuildTwoCards();
    const std::string before = Dump("SYSTEM");
    EXPECT_EQ(Run({"delete", "HKLM\\SYSTEM"}, "", false).err,
              "zovreg: HKEY_LOCAL_MACHINE\\SYSTEM was not deleted\n");
    EXPECT_NE(Run({"delete", "HKLM\\SYSTEM"}).err.find("--force"), std::string::npos);
    EXPECT_EQ(Run({"delete", "--force", "HKLM"}).err,
              "zovreg: HKEY_LOCAL_MACHINE itself cannot be deleted\n");
    const ToolRun missing = Run({"query", "HKLM\\SYSTEM\\Nope"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "zovreg: HKEY_LOCAL_MACHINE\\SYSTEM\\Nope: the key or value does not exist "
              "(status 2)\n");
    EXPECT_EQ(Dump("SYSTEM"), before);
    questions_.clear();
    ASSERT_EQ(Run({"delete", std::string("HKLM\\") + kParameters + "\\Card1"}, "", true).status, 0);
    EXPECT_EQ(questions_,
              std::vector<std::string>{"Delete " + kCard1 + " and everything below it? (y/N)"});
    const std::string left = Dump(kParameters);
    EXPECT_EQ(left.find("Card1"), std::string::npos);
    EXPECT_NE(left.find("Card2\\Port4"), std::string::npos);
    EXPECT_EQ(Run({"delete", "-f", "HKLM\\SYSTEM\\CurrentControlSet"}).status, 0);
    EXPECT_EQ(questions_.size(), 1U);
    EXPECT_EQ(Dump("SYSTEM"), "");
}

// A link in the file's place is replaced, never written through, by a file that takes the
// umask; a file in its place keeps its mode.
TEST_F(ExportTest, ReplacesALinkOrAFileAndKeepsOnlyTheFilesMode) {
    BuildTwoCards();
    WriteText(PathInDir("victim"), "precious");
    ASSERT_EQ(symlink(PathInDir("victim").c_str(), PathInDir("link.reg").c_str()), 0);
    WriteText(PathInDir("backup.reg"), "old");
    ASSERT_EQ(chmod(PathInDir("backup.reg").c_str(), 0600), 0);
    const mode_t old_mask = umask(027);
    for (const auto& [file, mode] : {std::pair{"link.reg", 0640U}, {"backup.reg", 0600U}}) {
        EXPECT_EQ(Run({"export", "HKLM\\SYSTEM", PathInDir(file), "--format=regedit4"}).status, 0);
        struct stat info {};
        EXPECT_EQ(lstat(PathInDir(file).c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode)) << file;
        EXPECT_EQ(info.st_mode & 0777, mode) << file;
        EXPECT_EQ(ReadText(PathInDir(file)).rfind("REGEDIT4\r\n", 0), 0U) << file;
    }
    umask(old_mask);
    EXPECT_EQ(ReadText(PathInDir("victim")), "precious");
}

// Every place zovreg prints a name, data or a piece of a file or of its arguments.
TEST_F(QueryTest, ControlCharactersNeverReachTheTerminal) {
    const std::string esc_key = "T\\Evil\x1B]0;title\x07";
    SetValue(esc_key, "bell\x07\xC2\x9B", REG_SZ, Bytes("\x1B[2J\xE9\0"s));
    WriteText(PathInDir("bad.reg"), "REGEDIT4\n[HKLM\\X]\n\x1B[2J=1\n");
    const std::vector<ToolRun> runs = {Run({"query", "HKLM\\T", "-s"}),
                                       Run({"query", "HKLM\\T"}),
                                       Run({"query", "HKLM\\Missing\x1B[2J"}),
                                       Run({"import", PathInDir("bad.reg")}),
                                       Run({"bogus\x1B[2J"}),
                                       Run({"delete", "HKLM\\" + esc_key}, "", false)};
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const std::string printed = runs[i].out + runs[i].err;
        EXPECT_NE(printed.find("<U+001B>"), std::string::npos) << i << ": " << printed;
        for (const char c : printed) {
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n') << i << ": " << printed;
        }
    }
    EXPECT_NE(runs[0].out.find("bell<U+0007><U+009B>    REG_SZ    <U+001B>[2J<0xE9>"),
              std::string::npos)
        << runs[0].out;
    ASSERT_EQ(questions_.size(), 1U);
    EXPECT_NE(questions_[0].find("Evil<U+001B>]0;title<U+0007>"), std::string::npos);
}

TEST_F(ExportTest, FailuresLeaveNoFileBehind) {
    BuildTwoCards();
    ASSERT_EQ(mkdir(PathInDir("taken").c_str(), 0755), 0);
    const char* const cases[][3] = {
        {"HKLM\\SYSTEM\\Nope", "out.reg", "does not exist"},
        {"HKLM\\SYSTEM", "no/such/dir/out.reg", "cannot create a temporary file"},
        {"HKLM\\SYSTEM", "taken", "cannot replace"}};
    for (const auto& [key, file, message] : cases) {
        const ToolRun run = Run({"export", key, PathInDir(file)});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_FALSE(Exists(PathInDir("out.reg")));
    // No temporary file is left over from the failed or the successful exports.
    EXPECT_EQ(Run({"export", "HKLM\\SYSTEM", PathInDir("ok.reg")}).status, 0);
    for (const auto& entry : std::filesystem::directory_iterator(Dir())) {
        EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
    }
}

TEST_F(ExportTest, UserWhoMayOnlyReadTheRegistryCanExportButNotDeleteNorImport) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to drop to nobody";
    }
    BuildTwoCards();
    const std::string expected = Run({"export", "HKLM\\SYSTEM", "-"}).out;
    WriteText(PathInDir("in.reg"), "REGEDIT4\n[HKLM\\SYSTEM\\New]\n\"x\"=dword:1\n");
    ASSERT_EQ(chmod(Dir().c_str(), 0777), 0);
    ASSERT_EQ(chmod(DatabasePath().c_str(), 0644), 0);
    ASSERT_EQ(chmod(PathInDir("in.reg").c_str(), 0644), 0);
    const int status = RunInChild([&] {
        if (!BecomeNobody() || Run({"export", "HKLM\\SYSTEM", PathInDir("nobody.reg")}).status) {
            return 1;
        }
        for (const ToolRun& run :
             {Run({"delete", "-f", "HKLM\\SYSTEM"}), Run({"import", PathInDir("in.reg")})}) {
            if (run.status != 1 || run.err.find("access denied") == std::string::npos) {
                return 2;
            }
        }
        return 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadText(PathInDir("nobody.reg")), expected);
    EXPECT_EQ(Run({"export", "HKLM\\SYSTEM", "-"}).out, expected);  // nothing changed
}

TEST_F(ImportTest, DeletesKeysAndValuesAndLaterLinesWinInFileOrder) {
    BuildTwoCards();
    WriteText(PathInDir("in.reg"),
              FormatText(
                  "REGEDIT4\n[-HKLM\\%s\\Card2]\n[-HKLM\\%s\\NoSuchCard]\n[HKLM\\%s\\Card1]\n"
                  "\"ZOVIrq\"=-\n\"NoSuchValue\"=-\n@=-\n"
                  "[HKLM\\K]\n\"v\"=dword:1\n[-HKLM\\K]\n[HKLM\\K]\n\"v\"=dword:2\n\"V\"=dword:3\n",
                  kParameters, kParameters, kParameters));
    const ToolRun run = Run({"import", PathInDir("in.reg")});
    ASSERT_EQ(run.status, 0) << run.err;
    // Card1 lost only its ZOVIrq; Card2 is gone.
    EXPECT_EQ(Dump(kParameters).rfind("Card1\n  ZOVBaseAddress = dword:0x2A0\nCard1\\Port1\n", 0),
              0U);
    EXPECT_EQ(Dump(kParameters).find("Card2"), std::string::npos);
    EXPECT_EQ(Dump("K"), "  v = dword:0x3\n");
}

TEST_F(ImportTest, StandardInputAndMissingFiles) {
    const ToolRun from_stdin = Run({"import", "-"}, "REGEDIT4\n[HKLM\\FromStdin]\n\"x\"=\"y\"\n");
    ASSERT_EQ(from_stdin.status, 0) << from_stdin.err;
    EXPECT_EQ(Dump("FromStdin"), "  x = sz:y\n");
    EXPECT_EQ(Run({"import", "-"}, "REGEDIT4\n[HKLM\\X\n").err,
              "zovreg: <stdin>:2: missing ']' at the end of the key name; nothing was imported\n");
    for (const auto& [file, message] :
         {std::pair{PathInDir("missing.reg"), "No such file"}, std::pair{Dir(), "directory"}}) {
        const ToolRun run = Run({"import", file});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace zov::test
