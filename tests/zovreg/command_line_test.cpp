#include "zovreg/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov::reg {
namespace {

CommandLine MustParse(const std::vector<std::string>& args) {
    CommandLine command;
    std::string error;
    EXPECT_TRUE(ParseCommandLine(args, &command, &error)) << error;
    return command;
}

// The verbs and options the other tests run through the tool; here only the spellings they skip.
TEST(CommandLineVerbs, LongRootTrailingBackslashAndDoubleDashAreUnderstood) {
    const CommandLine exported = MustParse({"export", "HKEY_LOCAL_MACHINE\\A\\", "-"});
    EXPECT_EQ(exported.key_path, "A");
    EXPECT_EQ(exported.format, RegFileFormat::kRegedit5);
    EXPECT_EQ(MustParse({"import", "--", "-odd-name.reg"}).file, "-odd-name.reg");
}

TEST(CommandLineUsageErrors, SayWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "missing command"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"query"}, "expected KEY, got 0 arguments"},
        {{"delete", "-s", "HKLM\\X"}, "unknown option '-s'"},
        {{"export", "HKLM", "f", "--format=regedit6"}, "regedit6"},
        {{"export", "HKLM", "f", "--format"}, "export: --format"},
        {{"--bogus", "query", "HKLM"}, "unknown option '--bogus'"},
        {{"query", "HKCU\\Software"}, "only HKEY_LOCAL_MACHINE"},
        {{"query", "SYSTEM\\X"}, "unknown root key"},
        {{"query", "HKLM\\a\\\\b"}, "empty key name"},
    };
    for (const auto& [args, message] : cases) {
        CommandLine command;
        std::string error;
        EXPECT_FALSE(ParseCommandLine(args, &command, &error)) << message;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace zov::reg
