// Writing .reg files: layout, quoting, wrapping and refusals; and export -> wipe -> import ->
// export, which must give the same bytes, and the same registry.
#include "zovreg/reg_file_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/format.h"
#include "zovreg_test_support.h"

namespace zov::reg {
namespace {

using namespace std::string_literals;
using test::AsciiToUtf16Le;
using test::Bytes;
using test::kParameters;
using test::ToolRun;
ValueSnapshot Value(const std::string& name, DWORD type, const std::string& data) {
    return ValueSnapshot{name, type, Bytes(data)};
}

const CodePage& Windows1252() {
    static CodePage* page = [] {
        auto* opened = new CodePage();
        std::string error;
        EXPECT_TRUE(opened->Open(kDefaultCodePage, &error)) << error;
        return opened;
    }();
    return *page;
}

std::string Write(const KeySnapshot& root, RegFileFormat format) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(WriteRegFile(root, format, Windows1252(), &bytes, &error)) << error;
    return bytes;
}

KeySnapshot SmallTree() {
    KeySnapshot root;
    root.path = "SYSTEM\\Z";
    root.values = {Value("", REG_SZ, "default\0"s), Value("Path \"q\"", REG_SZ, "C:\\x\\\0"s),
                   Value("Irq", REG_DWORD, "\x07\x00\x00\x00"s),
                   Value("Bin", REG_BINARY, "\x01\xAB"s),
                   Value("Multi", REG_MULTI_SZ, "a\0b\0\0"s)};
    root.subkeys.push_back(
        KeySnapshot{"SYSTEM\\Z\\Port1", {Value("DOSDeviceName", REG_SZ, "COM13\0"s)}, {}});
    return root;
}

// Regedit4 is 8-bit in the code page; version 5 the same lines in UTF-16 after a BOM, with hex text
// widened.
TEST(RegFileWriterLayout, CrlfAndOneBlankLineAfterEachKeyInBothFormats) {
    const char* const layout =
        "%s\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\Z]\r\n@=\"default\"\r\n"
        "\"Path \\\"q\\\"\"=\"C:\\\\x\\\\\"\r\n\"Irq\"=dword:00000007\r\n\"Bin\"=hex:01,ab\r\n"
        "\"Multi\"=hex(7):%s\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\Z\\Port1]\r\n\"DOSDeviceName\"=\"COM13\"\r\n\r\n";
    EXPECT_EQ(Write(SmallTree(), RegFileFormat::kRegedit4),
              FormatText(layout, "REGEDIT4", "61,00,62,00,00"));
    EXPECT_EQ(Write(SmallTree(), RegFileFormat::kRegedit5),
              "\xFF\xFE" + AsciiToUtf16Le(FormatText(layout, "Windows Registry Editor Version 5.00",
                                                     "61,00,00,00,62,00,00,00,00,00")));
}

// Text the code page cannot hold, and bytes that are not UTF-8, go to hex(1) as the registry's
// own bytes; a tab stays in the quoted string.
TEST(RegFileWriterQuoting, EmptyValuesAndStringsThatWouldNotReadBackTheSameGoToHex) {
    KeySnapshot root;
    root.values = {Value("sz", REG_SZ, ""),
                   Value("emptysz", REG_SZ, "\0"s),
                   Value("inner0", REG_SZ, "a\0b\0"s),
                   Value("newline", REG_SZ, "a\nb\0"s),
                   Value("latin1", REG_SZ, "caf\xE9\0"s),
                   Value("tab", REG_SZ, "a\tb\t\0"s),
                   Value("cp1252", REG_SZ, "caf\xC3\xA9 \xE2\x82\xAC\0"s),
                   Value("cjk", REG_SZ, "\xE4\xB8\xAD\0"s),
                   Value("short", REG_DWORD, "\x01\x02"s),
                   Value("none", REG_NONE, "")};
    EXPECT_EQ(Write(root, RegFileFormat::kRegedit4),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n"
              "\"sz\"=hex(1):\r\n"
              "\"emptysz\"=\"\"\r\n"
              "\"inner0\"=hex(1):61,00,62,00\r\n"
              "\"newline\"=hex(1):61,0a,62,00\r\n"
              "\"latin1\"=hex(1):63,61,66,e9,00\r\n"
              "\"tab\"=\"a\tb\t\"\r\n"
              "\"cp1252\"=\"caf\xE9 \x80\"\r\n"
              "\"cjk\"=hex(1):e4,b8,ad,00\r\n"
              "\"short\"=hex(4):01,02\r\n"
              "\"none\"=hex(0):\r\n"
              "\r\n");
    // A UTF-16 file shows only real text as text.
    EXPECT_NE(Write(root, RegFileFormat::kRegedit5)
                  .find(AsciiToUtf16Le("\"latin1\"=hex(1):63,00,61,00,66,00,e9,dc,00,00")),
              std::string::npos);
}

// Reading long data back is left to the round trip.
TEST(RegFileWriterWrapping, LongHexDataStaysWithin80Columns) {
    std::string data;
    for (int i = 0; i < 300; ++i) {
        data.push_back(static_cast<char>(i));
    }
    const std::string text =
        Write(KeySnapshot{"K", {Value("Binary", REG_BINARY, data)}, {}}, RegFileFormat::kRegedit4);
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 2) {
        end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LE(end - start, 80U) << text.substr(start, end - start);
    }
}

TEST(RegFileWriterRefuses, ValueOrKeyNamesWithLineBreaksOrOutsideTheCodePage) {
    std::string cjk_bytes;
    std::string cjk_error;
    EXPECT_FALSE(WriteRegFile(KeySnapshot{"K\\\xE4\xB8\xAD", {}, {}}, RegFileFormat::kRegedit4,
                              Windows1252(), &cjk_bytes, &cjk_error));
    EXPECT_NE(cjk_error.find("--format=regedit5"), std::string::npos) << cjk_error;
    for (const KeySnapshot& root :
         {KeySnapshot{"K", {Value("two\nlines", REG_DWORD, std::string(4, '\0'))}, {}},
          KeySnapshot{"K", {}, {KeySnapshot{"K\\bad\rkey", {}, {}}}}}) {
        std::string bytes;
        std::string error;
        EXPECT_FALSE(WriteRegFile(root, RegFileFormat::kRegedit5, Windows1252(), &bytes, &error));
        EXPECT_NE(error.find("line break"), std::string::npos);
    }
}

class RoundTripTest : public test::ZovregTest, public ::testing::WithParamInterface<const char*> {
  protected:
    // Everything that a .reg file has to carry, around the driver's two kinds of cards.
    void BuildAwkwardRegistry() {
        BuildTwoCards();
        const std::string odd = std::string(kParameters) + "\\Odd";
        SetValue(odd, "", REG_SZ, Bytes("the default\0"s));
        SetValue(odd, "EmptySz", REG_SZ, {});
        SetValue(odd, "EmptyText", REG_SZ, {0});
        SetValue(odd, "EmptyBinary", REG_BINARY, {});
        SetValue(odd, "Quotes \"and\" \\backslashes\\", REG_SZ,
                 Bytes("say \"hi\" to C:\\dir\\\0"s));
        SetValue(odd, "@", REG_SZ, Bytes("not the default\0"s));
        SetValue(odd, "a=b", REG_DWORD, {1, 2, 3, 4});
        SetValue(odd, std::string(16383, 'L'), REG_SZ, Bytes("long name\0"s));
        std::string binary(1000, '\0');
        for (std::size_t i = 0; i < binary.size(); ++i) {
            binary[i] = static_cast<char>(i * 7);
        }
        SetValue(odd, "Binary", REG_BINARY, Bytes(binary));
        SetValue(odd, "Expand", REG_EXPAND_SZ, Bytes("%SystemRoot%\\x\0"s));
        SetValue(odd, "Multi", REG_MULTI_SZ, Bytes("COM1\0COM2\0\0"s));
        SetValue(odd, "OddType", 0x12345, {9, 8, 7});
        // Text without its terminating zero is left out: the editor adds one when it reads
        // hex(1) data, so that value comes back one byte longer (see
        // HexTextGetsItsTerminatingZero).
        SetValue(odd, "Newline", REG_SZ, Bytes("two\r\nlines\0"s));
        SetValue(odd, "Utf8 caf\xC3\xA9", REG_SZ, Bytes("\xE2\x82\xAC \xF0\x9F\x98\x80\0"s));
        SetValue(odd, "Latin1", REG_SZ, Bytes("caf\xE9\0"s));
        // Names that differ only in case from other names keep their own spelling.
        SetValue(odd, "MixedCase", REG_DWORD, {1, 0, 0, 0});
        SetValue(odd + "\\mixedcase", "MIXEDCASE", REG_DWORD, {2, 0, 0, 0});
        SetValue(odd + "\\MIXEDCASE\\MixedCase", "mixedcase", REG_DWORD, {3, 0, 0, 0});
        SetValue(odd + "\\" + std::string(255, 'K'), "x", REG_DWORD, {4, 0, 0, 0});
        SetValue(odd + "\\brackets]and [spaces ", "", REG_SZ, {0});
        Build(odd + "\\Empty\\Deeper\\Deepest\n");
    }

    ToolRun Export(const std::string& key, const std::string& file) {
        return Run({"export", key, file, std::string("--format=") + GetParam()});
    }
};

// The second export names the key in another case: it must give the same bytes all the same.
TEST_P(RoundTripTest, ExportWipeImportExportGivesIdenticalFilesAndRegistry) {
    BuildAwkwardRegistry();
    const std::string before = Dump("SYSTEM");
    ASSERT_EQ(Export("HKLM\\SYSTEM", PathInDir("first.reg")).status, 0);

    ASSERT_EQ(Run({"delete", "HKLM\\SYSTEM", "--force"}).status, 0);
    ASSERT_NE(Dump("SYSTEM").find("cannot open"), std::string::npos);

    const ToolRun import = Run({"import", PathInDir("first.reg")});
    ASSERT_EQ(import.status, 0) << import.err;
    EXPECT_EQ(Dump("SYSTEM"), before);
    ASSERT_EQ(Export("hklm\\system", PathInDir("second.reg")).status, 0);
    const std::string first = ReadText(PathInDir("first.reg"));
    EXPECT_EQ(first, ReadText(PathInDir("second.reg")));
    EXPECT_GT(first.size(), 16383U);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, RoundTripTest, ::testing::Values("regedit5", "regedit4"));

}  // namespace
}  // namespace zov::reg
