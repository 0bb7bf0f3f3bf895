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

TEST_F(ImportTest, HandWrittenRegedit4AndVersion5Files) {
    const ToolRun v4 = ImportText(
        "REGEDIT4\r\n\r\n; the third card, written by hand\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\Card3]\r\n\"ZOVIrq\"=dword:0000000f\r\n\r\n"
        "[HKLM\\SYSTEM\\Card3\\Port1]\r\n\"DOSDeviceName\"=\"COM5\"\r\n");
    ASSERT_EQ(v4.status, 0) << v4.err;
    EXPECT_EQ(v4.err, "");
    EXPECT_EQ(Dump("SYSTEM\\Card3"), "  ZOVIrq = dword:0xF\nPort1\n  DOSDeviceName = sz:COM5\n");
    // UTF-16 with a BOM, the euro sign in the default value.
    const ToolRun v5 = ImportText(
        "\xFF\xFE" +
        AsciiToUtf16Le("Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\SYSTEM\\Text]\r\n@=\"") +
        "\xAC\x20"s +
        AsciiToUtf16Le("\"\r\n\"Expand\"=hex(2):25,00,54,00,25,00,00,00\r\n"
                       "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                       "\"Qword\"=hex(b):2a,00,00,00,00,00,00,00\r\n"));
    ASSERT_EQ(v5.status, 0) << v5.err;
    EXPECT_EQ(
        Dump("SYSTEM\\Text"),
        "  @ = sz:\xE2\x82\xAC\n  Expand = hex(2):25 54 25 00\n  Multi = hex(7):61 00 62 00 00\n"
        "  Qword = hex(11):2a 00 00 00 00 00 00 00\n");
}

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
