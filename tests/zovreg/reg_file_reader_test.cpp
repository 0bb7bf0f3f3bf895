// Reading .reg files: syntax, encodings and refusals, and the UTF-16 codec underneath. The
// registry editor's dialect: each file of the EditorCases is one that Windows imports, and the
// registry must hold afterwards what Windows holds.
#include "zovreg/reg_file_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/format.h"
#include "zovreg/utf16_codec.h"
#include "zovreg_test_support.h"

namespace zov::reg {
namespace {

using namespace std::string_literals;
using Kind = RegOperation::Kind;
using test::AsciiToUtf16Le;
using test::Bytes;
using test::kCaseName;
using test::PrintTo;  // found by the cases' own namespace
using test::ToolRun;
using test::ZovregTest;
RegFileContents MustRead(const std::string& bytes) {
    RegFileContents contents;
    RegFileError error;
    EXPECT_TRUE(ReadRegFile(bytes, &contents, &error)) << error.line << ": " << error.what;
    return contents;
}

// One line per operation: line, kind, key, [value name], and type:data for a value set, with
// bytes outside printable ASCII as <xx>.
std::string Describe(const RegFileContents& contents) {
    std::string text;
    for (const RegOperation& op : contents.operations) {
        text += FormatText("%d %d %s", op.line, static_cast<int>(op.kind), op.key_path.c_str());
        if (op.kind == Kind::kSetValue || op.kind == Kind::kDeleteValue) {
            text += " [" + op.value_name + "]";
        }
        if (op.kind == Kind::kSetValue) {
            text += FormatText(" %u:", op.type);
        }
        for (const std::uint8_t byte : op.kind == Kind::kSetValue ? op.data : Bytes("")) {
            text += byte >= 0x20 && byte < 0x7F ? std::string(1, static_cast<char>(byte))
                                                : FormatText("<%02x>", byte);
        }
        text += "\n";
    }
    return text;
}

// Kinds: 0 create key, 1 delete key, 2 set value, 3 delete value.
TEST(RegFileReaderSyntax, KeysAndEveryKindOfValueInFileOrder) {
    const RegFileContents contents = MustRead(
        "REGEDIT4\r\n\r\n; a comment\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\A]\r\n@=\"default\"\r\n"
        "\"Quoted \\\"name\\\"\"=\"C:\\\\dir\\\\\"\r\n\"n\"=dword:0000002A\r\n"
        "\"b\"=hex:01,ff, 7f\r\n\"q\"=hex(b):01,00,00,00,00,00,00,00\r\n\"gone\"=-\r\n"
        "[-HKLM\\SYSTEM\\B]\r\n[hklm\\a b\\x]y] \r\n"
        "[HKLM\\K]\n\"c\"=hex:01,02,\\\n  03,\\\n\t04\n\"p\"=\"ends with \\\\\"\n");
    EXPECT_EQ(contents.format, RegFileFormat::kRegedit4);
    EXPECT_EQ(
        Describe(contents),
        "4 0 SYSTEM\\A\n5 2 SYSTEM\\A [] 1:default<00>\n"
        "6 2 SYSTEM\\A [Quoted \"name\"] 1:C:\\dir\\<00>\n7 2 SYSTEM\\A [n] 4:*<00><00><00>\n"
        "8 2 SYSTEM\\A [b] 3:<01><ff><7f>\n9 2 SYSTEM\\A [q] 11:<01><00><00><00><00><00><00><00>\n"
        "10 3 SYSTEM\\A [gone]\n11 1 SYSTEM\\B\n12 0 a b\\x]y\n13 0 K\n"
        "14 2 K [c] 3:<01><02><03><04>\n17 2 K [p] 1:ends with \\<00>\n");
}

TEST(RegFileReaderEncoding, Version5InUtf16WithBomOrUtf8AndHexTextWidenedOnlyThere) {
    // "Name"="caf\u00e9 \U0001F600" and hex(2) text "%S%" in UTF-16.
    const RegFileContents utf16 = MustRead(
        "\xFF\xFE" +
        AsciiToUtf16Le("Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\U]\r\n\"N\"=\"caf") +
        "\xE9\x00 \x00\x3D\xD8\x00\xDE"s +
        AsciiToUtf16Le("\"\r\n\"P\"=hex(2):25,00,53,00,25,00,00,00\r\n"));
    EXPECT_EQ(utf16.format, RegFileFormat::kRegedit5);
    EXPECT_EQ(Describe(utf16),
              "3 0 U\n4 2 U [N] 1:caf<c3><a9> <f0><9f><98><80><00>\n5 2 U [P] 2:%S%<00>\n");
    // The version 5 header in an 8-bit file, after a UTF-8 BOM.
    const RegFileContents utf8 = MustRead(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n[HKLM\\K]\n\"m\"=hex(1):41,00,00,00\n");
    EXPECT_EQ(utf8.format, RegFileFormat::kRegedit5);
    EXPECT_EQ(Describe(utf8), "2 0 K\n3 2 K [m] 1:A<00>\n");
    EXPECT_EQ(Describe(MustRead("REGEDIT4\n[HKLM\\K]\n\"m\"=hex(7):61,00,62,00,00\n")),
              "2 0 K\n3 2 K [m] 7:a<00>b<00><00>\n");
}

// kImport rows are also imported over the two cards: refused at the same line, nothing changed.
enum Through { kReader, kImport, kImportOnly };

struct Malformed {
    const char* name;
    std::string file;
    int line;
    const char* message;
    Through through = kReader;
};

class RegFileReaderRefuses : public ZovregTest, public ::testing::WithParamInterface<Malformed> {};

TEST_P(RegFileReaderRefuses, WithTheLineAndWhatIsWrong) {
    const Malformed& row = GetParam();
    if (row.through != kImportOnly) {
        RegFileContents contents;
        RegFileError error;
        EXPECT_FALSE(ReadRegFile(row.file, &contents, &error));
        EXPECT_EQ(error.line, row.line);
        EXPECT_NE(error.what.find(row.message), std::string::npos) << error.what;
    }
    if (row.through == kReader) {
        return;
    }
    BuildTwoCards();
    const std::string before = Dump("SYSTEM");
    WriteText(PathInDir("in.reg"), row.file);
    const ToolRun run = Run({"import", PathInDir("in.reg")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        run.err.rfind(FormatText("zovreg: %s:%d: ", PathInDir("in.reg").c_str(), row.line), 0), 0U)
        << run.err;
    EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
    EXPECT_EQ(Dump("SYSTEM"), before);
}

// Deletes Card2, adds a key and sets a value before the faulty line 5.
const std::string kStart = FormatText(
    "REGEDIT4\n[-HKLM\\%s\\Card2]\n[HKLM\\SYSTEM\\X]\n\"ok\"=dword:1\n", test::kParameters);
const std::string kUtf16Start = "\xFF\xFE" + AsciiToUtf16Le("REGEDIT4\r\n[HKLM\\K]\r\n");

INSTANTIATE_TEST_SUITE_P(
    MalformedFiles, RegFileReaderRefuses,
    ::testing::Values(
        Malformed{"UnterminatedName", kStart + "\"s=dword:1\n", 5, "unterminated string", kImport},
        Malformed{"BadHexInContinuation", kStart + "\"b\"=hex:01,\\\n  0g\n", 5, "'0g'"},
        Malformed{"MissingHexByte", kStart + "\"b\"=hex:01,,02\n", 5, "missing"},
        Malformed{"TextAfterString", kStart + "\"p\"=\"a\" b\n", 5, "after the closing quote"},
        Malformed{"DwordTooLong", kStart + "\"d\"=dword:123456789\n", 5, "bad dword", kImport},
        // Well-formed, but the registry refuses a path 600 keys deep when it gets there.
        Malformed{"RegistryRefusesAKey", kStart + "[HKLM" + test::Repeat("\\d", 600) + "]\n", 5,
                  "nothing was imported", kImportOnly},
        Malformed{"EmptyFile", "", 1, "not a registry file"},
        Malformed{"ValueBeforeKey", "REGEDIT4\n\"a\"=dword:1\n", 2, "before the first [KEY]"},
        Malformed{"DeleteTheRoot", kStart + "[-HKEY_LOCAL_MACHINE]\n", 5, "cannot be deleted"},
        Malformed{"UnknownEscape", kStart + "\"p\"=\"C:\\Windows\"\n", 5, "unknown escape"},
        Malformed{"MissingEquals", kStart + "\"p\" \"a\"\n", 5, "missing '='"},
        Malformed{"BadTypeNumber", kStart + "\"p\"=hex(z):00\n", 5, "bad value type"},
        Malformed{"KeyNameTooLong", kStart + "[HKLM\\" + std::string(256, 'k') + "]\n", 5,
                  "longer than 255"},
        Malformed{"OddUtf16Text",
                  "Windows Registry Editor Version 5.00\n[HKLM\\K]\n\"t\"=hex(2):41,00,42\n", 3,
                  "even number of bytes"},
        Malformed{"OddUtf16File", kUtf16Start + "A", 3, ""},
        Malformed{"LoneSurrogateInUtf16File",
                  kUtf16Start + AsciiToUtf16Le("\"a\"=\"") + "\x00\xD8"s + AsciiToUtf16Le("\"\r\n"),
                  3, "surrogate"},
        Malformed{"BigEndianFile", "\xFE\xFF", 1, "big-endian"}),
    kCaseName);

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

std::string BackToUtf8(const std::u16string& units) {
    std::string back;
    std::size_t bad = 0;
    EXPECT_TRUE(Utf16ToUtf8(units, &back, &bad)) << bad;
    return back;
}

TEST(Utf16Codec, BytesThatAreNotUtf8AreEscapedAndComeBackUnchanged) {
    // A lone Latin-1 byte, a truncated sequence, an overlong slash, an encoded surrogate and a
    // code point above U+10FFFF.
    const std::string raw("\xE9t\xE2\x82\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80", 13);
    EXPECT_EQ(Utf8ToUtf16(raw).substr(0, 2), std::u16string({0xDCE9, u't'}));
    EXPECT_EQ(BackToUtf8(Utf8ToUtf16(raw)), raw);
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; second += 17) {
            const std::string pair({static_cast<char>(first), static_cast<char>(second)});
            ASSERT_EQ(BackToUtf8(Utf8ToUtf16(pair)), pair) << first << " " << second;
        }
    }
    EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9 \xF0\x9F\x98\x80"));
    for (const char* bad : {"\xE9", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
}

// An escaped ASCII byte (0xDC41) is never written, so it is refused like a lone surrogate.
TEST(Utf16Codec, UnpairedSurrogatesThatAreNoEscapeAreRefusedWithTheirIndex) {
    for (const std::u16string& units :
         {std::u16string{u'a', 0xD800, u'b'}, std::u16string{u'a', u'b', 0xDC41}}) {
        std::string out;
        std::size_t bad = 99;
        EXPECT_FALSE(Utf16ToUtf8(units, &out, &bad));
        EXPECT_EQ(bad, units.find_first_of(u"\xD800\xDC41"));
    }
}

}  // namespace
}  // namespace zov::reg
