#include <gtest/gtest.h>

#include <string>

#include "platform/format.h"
#include "zovreg_test_support.h"

namespace zov::test {
namespace {

using namespace std::string_literals;

class ImportTest : public ZovregTest {
  protected:
    ToolRun ImportText(const std::string& text) {
        WriteText(PathInDir("in.reg"), text);
        return Run({"import", PathInDir("in.reg")});
    }
};

TEST_F(ImportTest, DeletesKeysAndValuesAndLaterLinesWinInFileOrder) {
    BuildTwoCards();
    const ToolRun run = ImportText(FormatText(
        "REGEDIT4\n[-HKLM\\%s\\Card2]\n[-HKLM\\%s\\NoSuchCard]\n[HKLM\\%s\\Card1]\n"
        "\"ZOVIrq\"=-\n\"NoSuchValue\"=-\n@=-\n"
        "[HKLM\\K]\n\"v\"=dword:1\n[-HKLM\\K]\n[HKLM\\K]\n\"v\"=dword:2\n\"V\"=dword:3\n",
        kParameters, kParameters, kParameters));
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
