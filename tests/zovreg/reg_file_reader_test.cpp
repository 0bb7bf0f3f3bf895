#include "zovreg/reg_file_reader.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "zovreg_test_support.h"

namespace zov::reg {
namespace {

using namespace std::string_literals;

using Kind = RegOperation::Kind;

RegFileContents MustRead(const std::string& bytes) {
    RegFileContents contents;
    RegFileError error;
    EXPECT_TRUE(ReadRegFile(bytes, &contents, &error)) << error.line << ": " << error.what;
    return contents;
}

RegFileError MustRefuse(const std::string& bytes) {
    RegFileContents contents;
    RegFileError error;
    EXPECT_FALSE(ReadRegFile(bytes, &contents, &error));
    return error;
}

std::vector<std::uint8_t> Data(std::initializer_list<int> bytes) {
    std::vector<std::uint8_t> data;
    for (const int byte : bytes) {
        data.push_back(static_cast<std::uint8_t>(byte));
    }
    return data;
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
        "\"e\"=hex:\r\n"
        "\"gone\"=-\r\n"
        "[-HKLM\\SYSTEM\\B]\r\n"
        "[hklm]\r\n");
    EXPECT_EQ(contents.format, RegFileFormat::kRegedit4);
    ASSERT_EQ(contents.operations.size(), 10U);
    const auto& ops = contents.operations;
    EXPECT_EQ(ops[0].kind, Kind::kCreateKey);
    EXPECT_EQ(ops[0].key_path, "SYSTEM\\A");
    EXPECT_EQ(ops[0].line, 4);
    EXPECT_EQ(ops[1].value_name, "");
    EXPECT_EQ(ops[1].type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ops[1].data, test::Bytes("default\0"s));
    EXPECT_EQ(ops[2].value_name, "Quoted \"name\"");
    EXPECT_EQ(ops[2].data, test::Bytes("C:\\dir\\\0"s));
    EXPECT_EQ(ops[3].type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(ops[3].data, Data({0x2A, 0, 0, 0}));
    EXPECT_EQ(ops[4].type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(ops[4].data, Data({0x01, 0xFF, 0x7F}));
    EXPECT_EQ(ops[5].type, static_cast<DWORD>(REG_QWORD));
    EXPECT_EQ(ops[5].data.size(), 8U);
    EXPECT_TRUE(ops[6].data.empty());
    EXPECT_EQ(ops[7].kind, Kind::kDeleteValue);
    EXPECT_EQ(ops[7].value_name, "gone");
    EXPECT_EQ(ops[7].key_path, "SYSTEM\\A");
    EXPECT_EQ(ops[8].kind, Kind::kDeleteKey);
    EXPECT_EQ(ops[8].key_path, "SYSTEM\\B");
    EXPECT_EQ(ops[9].kind, Kind::kCreateKey);
    EXPECT_EQ(ops[9].key_path, "");
}

TEST(RegFileReaderSyntax, ContinuedHexLinesJoinAndKeepTheFirstLineNumber) {
    const RegFileContents contents = MustRead(
        "REGEDIT4\n"
        "[HKLM\\K]\n"
        "\"b\"=hex:01,02,\\\n"
        "  03,04,\\\n"
        "\t05\n"
        "\"after\"=dword:1\n");
    ASSERT_EQ(contents.operations.size(), 3U);
    EXPECT_EQ(contents.operations[1].data, Data({1, 2, 3, 4, 5}));
    EXPECT_EQ(contents.operations[1].line, 3);
    EXPECT_EQ(contents.operations[2].line, 6);
}

TEST(RegFileReaderSyntax, BackslashInsideAStringIsNoContinuation) {
    const RegFileContents contents =
        MustRead("REGEDIT4\n[HKLM\\K]\n\"p\"=\"ends with \\\\\"\n\"q\"=dword:2\n");
    ASSERT_EQ(contents.operations.size(), 3U);
    EXPECT_EQ(contents.operations[1].data, test::Bytes("ends with \\\0"s));
}

TEST(RegFileReaderSyntax, KeyNamesKeepSpacesAndClosingBrackets) {
    const RegFileContents contents = MustRead("REGEDIT4\n[HKLM\\a b\\x]y] \n");
    ASSERT_EQ(contents.operations.size(), 1U);
    EXPECT_EQ(contents.operations[0].key_path, "a b\\x]y");
}

TEST(RegFileReaderEncoding, Version5FileInUtf16WithBom) {
    // "Windows Registry Editor Version 5.00", a key, "Name"="caf\u00e9 \U0001F600" and hex(2)
    // text "%S%" in UTF-16.
    std::string bytes = "\xFF\xFE";
    bytes += test::AsciiToUtf16Le(
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\U]\r\n"
        "\"Name\"=\"caf");
    bytes += "\xE9\x00 \x00\x3D\xD8\x00\xDE"s;
    bytes += test::AsciiToUtf16Le("\"\r\n\"Path\"=hex(2):25,00,53,00,25,00,00,00\r\n");
    const RegFileContents contents = MustRead(bytes);
    EXPECT_EQ(contents.format, RegFileFormat::kRegedit5);
    ASSERT_EQ(contents.operations.size(), 3U);
    EXPECT_EQ(contents.operations[1].data, test::Bytes("caf\xC3\xA9 \xF0\x9F\x98\x80\0"s));
    EXPECT_EQ(contents.operations[2].type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(contents.operations[2].data, test::Bytes("%S%\0"s));
}

TEST(RegFileReaderEncoding, Regedit4HexTextStaysAsBytes) {
    const RegFileContents contents = MustRead("REGEDIT4\n[HKLM\\K]\n\"m\"=hex(7):61,00,62,00,00\n");
    EXPECT_EQ(contents.operations[1].data, Data({'a', 0, 'b', 0, 0}));
}

TEST(RegFileReaderEncoding, Version5HeaderInAn8BitFileAndUtf8Bom) {
    const RegFileContents contents = MustRead(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n[HKLM\\K]\n\"m\"=hex(1):41,00,00,00\n");
    EXPECT_EQ(contents.format, RegFileFormat::kRegedit5);
    EXPECT_EQ(contents.operations[1].data, Data({'A', 0}));
}

struct Malformed {
    const char* name;
    std::string file;
    int line;
    const char* message;
};

// Failure messages name the case instead of dumping its bytes.
void PrintTo(const Malformed& value, std::ostream* out) {
    *out << value.name;
}

class RegFileReaderRefuses : public ::testing::TestWithParam<Malformed> {};

TEST_P(RegFileReaderRefuses, WithTheLineAndWhatIsWrong) {
    const RegFileError error = MustRefuse(GetParam().file);
    EXPECT_EQ(error.line, GetParam().line);
    EXPECT_NE(error.what.find(GetParam().message), std::string::npos) << error.what;
}

const std::string kStart = "REGEDIT4\n\n[HKLM\\SYSTEM\\X]\n\"ok\"=dword:1\n";

INSTANTIATE_TEST_SUITE_P(
    MalformedFiles, RegFileReaderRefuses,
    ::testing::Values(
        Malformed{"UnterminatedString", kStart + "\"s\"=\"abc\n", 5, "unterminated string"},
        Malformed{"UnterminatedName", kStart + "\"s=dword:1\n", 5, "unterminated string"},
        Malformed{"BadHexByte", kStart + "\"b\"=hex:01,zz,02\n", 5, "bad hex byte 'zz'"},
        Malformed{"ThreeDigitHex", kStart + "\"b\"=hex:123\n", 5, "bad hex byte"},
        Malformed{"MissingHexByte", kStart + "\"b\"=hex:01,,02\n", 5, "missing"},
        Malformed{"BadHexInContinuation", kStart + "\"b\"=hex:01,\\\n  0g\n", 5, "'0g'"},
        Malformed{"UnknownRoot", kStart + "[HKEY_CURRENT_USER\\Software]\n", 5,
                  "only HKEY_LOCAL_MACHINE"},
        Malformed{"NoRootAtAll", kStart + "[SYSTEM\\X]\n", 5, "unknown root key 'SYSTEM'"},
        Malformed{"MissingBracket", kStart + "[HKLM\\SYSTEM\\Y\n", 5, "missing ']'"},
        Malformed{"BadDwordDigits", kStart + "\"d\"=dword:xyz\n", 5, "bad dword 'xyz'"},
        Malformed{"DwordTooLong", kStart + "\"d\"=dword:123456789\n", 5, "bad dword"},
        Malformed{"EmptyDword", kStart + "\"d\"=dword:\n", 5, "bad dword"},
        Malformed{"BadHeader", "REGEDIT5\n[HKLM\\X]\n", 1, "not a registry file"},
        Malformed{"EmptyFile", "", 1, "not a registry file"},
        Malformed{"ValueBeforeKey", "REGEDIT4\n\"a\"=dword:1\n", 2, "before the first [KEY]"},
        Malformed{"ValueOfDeletedKey", "REGEDIT4\n[-HKLM\\X]\n\"a\"=dword:1\n", 3, "[-KEY]"},
        Malformed{"DeleteTheRoot", kStart + "[-HKEY_LOCAL_MACHINE]\n", 5, "cannot be deleted"},
        Malformed{"UnknownEscape", kStart + "\"p\"=\"C:\\Windows\"\n", 5, "unknown escape"},
        Malformed{"TextAfterString", kStart + "\"p\"=\"a\" b\n", 5, "after the closing quote"},
        Malformed{"MissingEquals", kStart + "\"p\" \"a\"\n", 5, "missing '='"},
        Malformed{"UnknownData", kStart + "\"p\"=word:1\n", 5, "unknown value data"},
        Malformed{"BadTypeNumber", kStart + "\"p\"=hex(z):00\n", 5, "bad value type"},
        Malformed{"StrayText", kStart + "garbage\n", 5, "expected [KEY]"},
        Malformed{"EmptyKeyName", kStart + "[HKLM\\SYSTEM\\\\X]\n", 5, "empty key name"},
        Malformed{"KeyNameTooLong", kStart + "[HKLM\\" + std::string(256, 'k') + "]\n", 5,
                  "longer than 255"},
        Malformed{"OddUtf16Text",
                  "Windows Registry Editor Version 5.00\n[HKLM\\K]\n"
                  "\"t\"=hex(2):41,00,42\n",
                  3, "even number of bytes"},
        Malformed{"LoneSurrogateInHexText",
                  "Windows Registry Editor Version 5.00\n[HKLM\\K]\n"
                  "\"t\"=hex(1):00,d8,41,00\n",
                  3, "unpaired"}),
    [](const ::testing::TestParamInfo<Malformed>& info) { return info.param.name; });

TEST(RegFileReaderEncoding, BrokenUtf16FilesAreRefusedAtTheirLine) {
    std::string odd = "\xFF\xFE" + test::AsciiToUtf16Le("REGEDIT4\r\n[HKLM\\K]\r\n") + "A";
    EXPECT_EQ(MustRefuse(odd).line, 3);
    std::string lone = "\xFF\xFE" + test::AsciiToUtf16Le("REGEDIT4\r\n[HKLM\\K]\r\n\"a\"=\"");
    lone += "\x00\xD8"s + test::AsciiToUtf16Le("\"\r\n");
    const RegFileError error = MustRefuse(lone);
    EXPECT_EQ(error.line, 3);
    EXPECT_NE(error.what.find("surrogate"), std::string::npos);
    EXPECT_NE(MustRefuse("\xFE\xFF").what.find("big-endian"), std::string::npos);
}

}  // namespace
}  // namespace zov::reg
