// The registry editor's dialect: each file below is one that Windows imports, and the registry
// must hold afterwards what Windows holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zovreg_test_support.h"

namespace zov::test {
namespace {

using test::PrintTo;  // found by the cases' own namespace

using namespace std::string_literals;

struct DialectCase {
    const char* name;
    std::string file;
    std::string holds;  // Dump("K") afterwards
    std::vector<std::string> options = {};
};

class RegDialectTest : public ZovregTest, public ::testing::WithParamInterface<DialectCase> {};

TEST_P(RegDialectTest, ImportsAndHoldsWhatWindowsHolds) {
    const DialectCase& row = GetParam();
    WriteText(PathInDir("in.reg"), row.file);
    std::vector<std::string> args = {"import", PathInDir("in.reg")};
    args.insert(args.end(), row.options.begin(), row.options.end());
    const ToolRun run = Run(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");  // nothing to say on success
    EXPECT_EQ(Dump("K"), row.holds);
}

const std::string k4 = "REGEDIT4\r\n[HKLM\\K]\r\n";

INSTANTIATE_TEST_SUITE_P(
    EditorCases, RegDialectTest,
    ::testing::Values(
        DialectCase{"CommentsAfterKeyAndValues",
                    "REGEDIT4\n[HKLM\\K] ; the key\n\"a\"=\"x;y\" ; note\n\"d\"=dword:2 ;n\n"
                    "\"b\"=hex:01 ; n\n",
                    "  a = sz:x;y\n  d = dword:0x2\n  b = hex:01\n"},
        DialectCase{"CommentAndBlankLineInsideContinuation",
                    k4 + "\"b\"=hex:01,\\\r\n; a comment\r\n\r\n  02\r\n\"c\"=dword:3\r\n",
                    "  b = hex:01 02\n  c = dword:0x3\n"},
        DialectCase{"TrailingCommaInHexData", k4 + "\"b\"=hex:01,02,\r\n", "  b = hex:01 02\n"},
        DialectCase{"ContinuationAtTheEndOfTheFile", k4 + "\"b\"=hex:01,02,\\",
                    "  b = hex:01 02\n"},
        DialectCase{"ValuesAfterADeleteKeyLineAreIgnored",
                    k4 + "\"a\"=dword:1\r\n[-HKLM\\K\\Gone]\r\n\"x\"=dword:1\r\n\"y\"=-\r\n",
                    "  a = dword:0x1\n"},
        DialectCase{"HexTextGetsItsTerminatingZero",
                    k4 + "\"s\"=hex(1):41\r\n\"e\"=hex(2):25,00\r\n\"m\"=hex(7):61,00,62\r\n"
                         "\"z\"=hex(1):41,00\r\n",
                    "  s = sz:A\n  e = hex(2):25 00\n  m = hex(7):61 00 62 00\n  z = sz:A\n"},
        DialectCase{"Utf16HexTextGetsOneZeroUnit",
                    "\xFF\xFE" + AsciiToUtf16Le("Windows Registry Editor Version 5.00\r\n[HKLM\\K]"
                                                "\r\n\"s\"=hex(2):41,00\r\n"),
                    "  s = hex(2):41 00\n"},
        DialectCase{"Regedit4IsWindows1252",
                    k4 + "\"n\"=\"Caf\xE9 \x80\"\r\n\"Gr\xFC\xDF\"=dword:1\r\n",
                    "  n = sz:Caf\xC3\xA9 \xE2\x82\xAC\n  Gr\xC3\xBC\xC3\x9F = dword:0x1\n"},
        DialectCase{"Utf8ByteOrderMarkStillMeansUtf8",
                    "\xEF\xBB\xBF" + k4 + "\"n\"=\"Caf\xC3\xA9\"\r\n", "  n = sz:Caf\xC3\xA9\n"},
        DialectCase{"CodePageChosenOnTheCommandLine",
                    k4 + "\"n\"=\"\x82t\x82\"\r\n",
                    "  n = sz:\xC3\xA9t\xC3\xA9\n",
                    {"--codepage=CP850"}},
        DialectCase{
            "NamesDifferingOnlyInCaseAreOneName",
            "REGEDIT4\n[HKLM\\K\\\xC9]\n\"\xC4\"=dword:1\n[HKLM\\k\\\xE9]\n\"\xE4\"=dword:2\n",
            "\xC3\x89\n  \xC3\x84 = dword:0x2\n"}),
    kCaseName);

// A Windows-1252 file read and written again in another code page and back gives the same bytes.
TEST_F(ZovregTest, CodePageRoundTripKeepsTheBytes) {
    const std::string file =
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K\\Caf\xE9]\r\n"
        "\"\x80uro\"=\"na\xEFve \xAB\xBB\"\r\n\r\n";
    WriteText(PathInDir("in.reg"), file);
    ASSERT_EQ(Run({"import", PathInDir("in.reg")}).status, 0);
    ASSERT_EQ(
        Run({"export", "HKLM\\K\\Caf\xC3\xA9", PathInDir("out.reg"), "--format=regedit4"}).status,
        0);
    EXPECT_EQ(ReadText(PathInDir("out.reg")), file);
    // Code page 850 has no euro sign for the value name: refused, and said what to do.
    const ToolRun cp850 =
        Run({"export", "HKLM\\K", PathInDir("850.reg"), "--format=regedit4", "--codepage=CP850"});
    EXPECT_EQ(cp850.status, 1);
    EXPECT_NE(cp850.err.find("--format=regedit5"), std::string::npos) << cp850.err;
    const ToolRun unknown = Run({"import", PathInDir("in.reg"), "--codepage=NO-SUCH-PAGE"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown code page"), std::string::npos);
}

}  // namespace
}  // namespace zov::test
