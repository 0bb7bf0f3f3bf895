#include "zovreg/reg_file_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/format.h"
#include "zovreg_test_support.h"

namespace zov::reg {
namespace {

using namespace std::string_literals;
using Kind = RegOperation::Kind;
using test::Bytes;
using test::kCaseName;
using test::PrintTo;  // found by the cases' own namespace
using test::ToolRun;

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
    const RegFileContents utf16 =
        MustRead("\xFF\xFE" +
                 test::AsciiToUtf16Le(
                     "Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\U]\r\n\"N\"=\"caf") +
                 "\xE9\x00 \x00\x3D\xD8\x00\xDE"s +
                 test::AsciiToUtf16Le("\"\r\n\"P\"=hex(2):25,00,53,00,25,00,00,00\r\n"));
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

class RegFileReaderRefuses : public test::ZovregTest,
                             public ::testing::WithParamInterface<Malformed> {};

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
const std::string kUtf16Start = "\xFF\xFE" + test::AsciiToUtf16Le("REGEDIT4\r\n[HKLM\\K]\r\n");

INSTANTIATE_TEST_SUITE_P(
    MalformedFiles, RegFileReaderRefuses,
    ::testing::Values(
        Malformed{"UnterminatedName", kStart + "\"s=dword:1\n", 5, "unterminated string", kImport},
        Malformed{"BadHexInContinuation", kStart + "\"b\"=hex:01,\\\n  0g\n", 5, "'0g'"},
        Malformed{"MissingHexByte", kStart + "\"b\"=hex:01,,02\n", 5, "missing"},
        Malformed{"NoRootAtAll", kStart + "[SYSTEM\\X]\n", 5, "unknown root key 'SYSTEM'"},
        Malformed{"TextAfterString", kStart + "\"p\"=\"a\" b\n", 5, "after the closing quote"},
        Malformed{"DwordTooLong", kStart + "\"d\"=dword:123456789\n", 5, "bad dword", kImport},
        Malformed{"UnknownRoot", kStart + "[HKEY_USERS\\S-1-5-18]\n", 5, "only HKEY_LOCAL_MACHINE",
                  kImport},
        // Well-formed, but the registry refuses a path 600 keys deep when it gets there.
        Malformed{"RegistryRefusesAKey",
                  kStart + "[HKLM" +
                      [] {
                          std::string deep;
                          for (int i = 0; i < 600; ++i) {
                              deep += "\\d";
                          }
                          return deep;
                      }() +
                      "]\n",
                  5, "nothing was imported", kImportOnly},
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
                  kUtf16Start + test::AsciiToUtf16Le("\"a\"=\"") + "\x00\xD8"s +
                      test::AsciiToUtf16Le("\"\r\n"),
                  3, "surrogate"},
        Malformed{"BigEndianFile", "\xFE\xFF", 1, "big-endian"}),
    kCaseName);

}  // namespace
}  // namespace zov::reg
