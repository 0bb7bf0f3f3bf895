#include "zovreg/reg_file_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "platform/format.h"
#include "zovreg_test_support.h"

namespace zov::reg {
namespace {

using namespace std::string_literals;
using Kind = RegOperation::Kind;
using test::Bytes;
using test::ToolRun;

RegFileContents MustRead(const std::string& bytes) {
    RegFileContents contents;
    RegFileError error;
    EXPECT_TRUE(ReadRegFile(bytes, &contents, &error)) << error.line << ": " << error.what;
    return contents;
}

TEST(RegFileReaderSyntax, KeysAndEveryKindOfValueInFileOrder) {
    const RegFileContents contents = MustRead(
        "REGEDIT4\r\n"
        "\r\n"
        "; a comment\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\A]\r\n"
        "@=\"default\"\r\n"
        "\"Quoted \\\"name\\\"\"=\"C:\\\\dir\\\\\"\r\n"
        "\"n\"=dword:0000002A\r\n"
        "\"b\"=hex:01,ff, 7f\r\n"
        "\"q\"=hex(b):01,00,00,00,00,00,00,00\r\n"
        "\"gone\"=-\r\n"
        "[-HKLM\\SYSTEM\\B]\r\n"
        "[hklm\\a b\\x]y] \r\n");
    EXPECT_EQ(contents.format, RegFileFormat::kRegedit4);
    const auto& ops = contents.operations;
    ASSERT_EQ(ops.size(), 9U);
    EXPECT_EQ(ops[0].kind, Kind::kCreateKey);
    EXPECT_EQ(ops[0].key_path, "SYSTEM\\A");
    EXPECT_EQ(ops[0].line, 4);
    EXPECT_EQ(ops[1].value_name, "");
    EXPECT_EQ(ops[1].type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ops[1].data, Bytes("default\0"s));
    EXPECT_EQ(ops[2].value_name, "Quoted \"name\"");
    EXPECT_EQ(ops[2].data, Bytes("C:\\dir\\\0"s));
    EXPECT_EQ(ops[3].type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(ops[3].data, Bytes("\x2A\0\0\0"s));
    EXPECT_EQ(ops[4].type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(ops[4].data, Bytes("\x01\xFF\x7F"));
    EXPECT_EQ(ops[5].type, static_cast<DWORD>(REG_QWORD));
    EXPECT_EQ(ops[6].kind, Kind::kDeleteValue);
    EXPECT_EQ(ops[6].value_name, "gone");
    EXPECT_EQ(ops[6].key_path, "SYSTEM\\A");
    EXPECT_EQ(ops[7].kind, Kind::kDeleteKey);
    EXPECT_EQ(ops[7].key_path, "SYSTEM\\B");
    EXPECT_EQ(ops[8].key_path, "a b\\x]y");
}

TEST(RegFileReaderSyntax, ContinuedHexLinesJoinButABackslashInAStringDoesNot) {
    const RegFileContents contents = MustRead(
        "REGEDIT4\n[HKLM\\K]\n\"b\"=hex:01,02,\\\n  03,04,\\\n\t05\n\"p\"=\"ends with \\\\\"\n");
    ASSERT_EQ(contents.operations.size(), 3U);
    EXPECT_EQ(contents.operations[1].data, Bytes("\x01\x02\x03\x04\x05"));
    EXPECT_EQ(contents.operations[1].line, 3);
    EXPECT_EQ(contents.operations[2].line, 6);
    EXPECT_EQ(contents.operations[2].data, Bytes("ends with \\\0"s));
}

TEST(RegFileReaderEncoding, Version5FileInUtf16WithBom) {
    // A key, "Name"="caf\u00e9 \U0001F600" and hex(2) text "%S%" in UTF-16.
    std::string bytes = "\xFF\xFE";
    bytes += test::AsciiToUtf16Le(
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\U]\r\n"
        "\"Name\"=\"caf");
    bytes += "\xE9\x00 \x00\x3D\xD8\x00\xDE"s;
    bytes += test::AsciiToUtf16Le("\"\r\n\"Path\"=hex(2):25,00,53,00,25,00,00,00\r\n");
    const RegFileContents contents = MustRead(bytes);
    EXPECT_EQ(contents.format, RegFileFormat::kRegedit5);
    ASSERT_EQ(contents.operations.size(), 3U);
    EXPECT_EQ(contents.operations[1].data, Bytes("caf\xC3\xA9 \xF0\x9F\x98\x80\0"s));
    EXPECT_EQ(contents.operations[2].type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(contents.operations[2].data, Bytes("%S%\0"s));
}

TEST(RegFileReaderEncoding, HexTextIsWidenedOnlyInVersion5Files) {
    EXPECT_EQ(MustRead("REGEDIT4\n[HKLM\\K]\n\"m\"=hex(7):61,00,62,00,00\n").operations[1].data,
              Bytes("a\0b\0\0"s));
    // The version 5 header in an 8-bit file, after a UTF-8 BOM.
    const RegFileContents v5 = MustRead(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n[HKLM\\K]\n\"m\"=hex(1):41,00,00,00\n");
    EXPECT_EQ(v5.format, RegFileFormat::kRegedit5);
    EXPECT_EQ(v5.operations[1].data, Bytes("A\0"s));
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

// Failure messages name the case instead of dumping its bytes.
void PrintTo(const Malformed& value, std::ostream* out) {
    *out << value.name;
}

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
        Malformed{"ValueOfDeletedKey", "REGEDIT4\n[-HKLM\\X]\n\"a\"=dword:1\n", 3, "[-KEY]"},
        Malformed{"DeleteTheRoot", kStart + "[-HKEY_LOCAL_MACHINE]\n", 5, "cannot be deleted"},
        Malformed{"UnknownEscape", kStart + "\"p\"=\"C:\\Windows\"\n", 5, "unknown escape"},
        Malformed{"TextAfterString", kStart + "\"p\"=\"a\" b\n", 5, "after the closing quote"},
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
    [](const ::testing::TestParamInfo<Malformed>& info) { return info.param.name; });

}  // namespace
}  // namespace zov::reg
