#include "zovreg/reg_file_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "zovreg/reg_file_reader.h"
#include "zovreg_test_support.h"

namespace zov::reg {
namespace {

using namespace std::string_literals;

ValueSnapshot Value(const std::string& name, DWORD type, const std::string& data) {
    return ValueSnapshot{name, type, test::Bytes(data)};
}

std::string Write(const KeySnapshot& root, RegFileFormat format) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(WriteRegFile(root, format, &bytes, &error)) << error;
    return bytes;
}

KeySnapshot SmallTree() {
    KeySnapshot root;
    root.path = "SYSTEM\\Z";
    root.values = {Value("", REG_SZ, "default\0"s), Value("Path \"q\"", REG_SZ, "C:\\x\\\0"s),
                   Value("Irq", REG_DWORD, "\x07\x00\x00\x00"s),
                   Value("Bin", REG_BINARY, "\x01\xAB"s),
                   Value("Multi", REG_MULTI_SZ, "a\0b\0\0"s)};
    KeySnapshot child;
    child.path = "SYSTEM\\Z\\Port1";
    child.values = {Value("DOSDeviceName", REG_SZ, "COM13\0"s)};
    root.subkeys.push_back(child);
    return root;
}

TEST(RegFileWriterLayout, Regedit4IsEightBitWithCrlfAndOneBlankLineAfterEachKey) {
    EXPECT_EQ(Write(SmallTree(), RegFileFormat::kRegedit4),
              "REGEDIT4\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\Z]\r\n"
              "@=\"default\"\r\n"
              "\"Path \\\"q\\\"\"=\"C:\\\\x\\\\\"\r\n"
              "\"Irq\"=dword:00000007\r\n"
              "\"Bin\"=hex:01,ab\r\n"
              "\"Multi\"=hex(7):61,00,62,00,00\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM\\Z\\Port1]\r\n"
              "\"DOSDeviceName\"=\"COM13\"\r\n"
              "\r\n");
}

TEST(RegFileWriterLayout, Version5IsUtf16WithBomAndWidensHexText) {
    const std::string bytes = Write(SmallTree(), RegFileFormat::kRegedit5);
    ASSERT_GE(bytes.size(), 2U);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    const std::string expected_start =
        test::AsciiToUtf16Le("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE");
    EXPECT_EQ(bytes.substr(2, expected_start.size()), expected_start);
    const std::string widened =
        test::AsciiToUtf16Le("\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n");
    EXPECT_NE(bytes.find(widened), std::string::npos);
}

TEST(RegFileWriterLayout, RootKeyAndEmptyValuesOfEveryKind) {
    KeySnapshot root;
    root.values = {Value("sz", REG_SZ, ""), Value("emptysz", REG_SZ, "\0"s),
                   Value("bin", REG_BINARY, ""), Value("none", REG_NONE, "")};
    EXPECT_EQ(Write(root, RegFileFormat::kRegedit4),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n"
              "\"sz\"=hex(1):\r\n"
              "\"emptysz\"=\"\"\r\n"
              "\"bin\"=hex:\r\n"
              "\"none\"=hex(0):\r\n"
              "\r\n");
}

TEST(RegFileWriterQuoting, StringsThatWouldNotReadBackTheSameGoToHex) {
    KeySnapshot root;
    root.path = "K";
    root.values = {Value("noterm", REG_SZ, "abc"), Value("inner0", REG_SZ, "a\0b\0"s),
                   Value("newline", REG_SZ, "a\nb\0"s), Value("latin1", REG_SZ, "caf\xE9\0"s),
                   Value("short", REG_DWORD, "\x01\x02"s)};
    const std::string v4 = Write(root, RegFileFormat::kRegedit4);
    EXPECT_NE(v4.find("\"noterm\"=hex(1):61,62,63\r\n"), std::string::npos) << v4;
    EXPECT_NE(v4.find("\"inner0\"=hex(1):61,00,62,00\r\n"), std::string::npos) << v4;
    EXPECT_NE(v4.find("\"newline\"=hex(1):61,0a,62,00\r\n"), std::string::npos) << v4;
    EXPECT_NE(v4.find("\"latin1\"=\"caf\xE9\"\r\n"), std::string::npos) << v4;
    EXPECT_NE(v4.find("\"short\"=hex(4):01,02\r\n"), std::string::npos) << v4;
    // A UTF-16 file shows only real text as text.
    const std::string v5 = Write(root, RegFileFormat::kRegedit5);
    EXPECT_NE(v5.find(test::AsciiToUtf16Le("\"latin1\"=hex(1):63,00,61,00,66,00,e9,dc,00,00")),
              std::string::npos);
}

TEST(RegFileWriterWrapping, LongHexDataStaysWithin80ColumnsAndReadsBack) {
    KeySnapshot root;
    root.path = "K";
    std::string data;
    for (int i = 0; i < 300; ++i) {
        data.push_back(static_cast<char>(i));
    }
    root.values = {Value("Binary", REG_BINARY, data),
                   Value(std::string(120, 'n'), REG_BINARY, data.substr(0, 40))};
    const std::string text = Write(root, RegFileFormat::kRegedit4);
    std::size_t start = 0;
    int continued = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = text.substr(start, end - start);
        if (line.rfind("\"nnn", 0) != 0) {
            EXPECT_LE(line.size(), 80U) << line;
        }
        continued += !line.empty() && line.back() == '\\';
        start = end + 2;
    }
    EXPECT_GT(continued, 10);
    RegFileContents contents;
    RegFileError error;
    ASSERT_TRUE(ReadRegFile(text, &contents, &error)) << error.line << ": " << error.what;
    ASSERT_EQ(contents.operations.size(), 3U);
    EXPECT_EQ(contents.operations[1].data, test::Bytes(data));
    EXPECT_EQ(contents.operations[2].data, test::Bytes(data.substr(0, 40)));
}

TEST(RegFileWriterRefuses, NamesWithLineBreaks) {
    KeySnapshot root;
    root.path = "K";
    root.values = {Value("two\nlines", REG_DWORD, std::string(4, '\0'))};
    std::string bytes;
    std::string error;
    EXPECT_FALSE(WriteRegFile(root, RegFileFormat::kRegedit4, &bytes, &error));
    EXPECT_NE(error.find("line break"), std::string::npos);
    root.values.clear();
    root.subkeys.push_back(KeySnapshot{"K\\bad\rkey", {}, {}});
    EXPECT_FALSE(WriteRegFile(root, RegFileFormat::kRegedit5, &bytes, &error));
    EXPECT_NE(error.find("line break"), std::string::npos);
}

}  // namespace
}  // namespace zov::reg
