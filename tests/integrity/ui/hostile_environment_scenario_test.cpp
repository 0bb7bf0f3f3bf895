// The whole utility where the system is against it: a terminal shrunk under an open dialog, and
// a registry file that is not a registry of ours.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "app_scenario.h"

namespace zov::test {
namespace {

using ::testing::MatchesRegex;
using ::testing::StartsWith;

constexpr const char* kSettingsCaption = "ZOV Card Settings";

using HostileEnvironmentScenario = AppScenario;

// Shrinks the terminal under the settings dialog: only the notice is drawn, on a grid of the
// terminal's size, read whole from 30 x 8 on (wrapped to the width); nothing typed or clicked
// reaches the hidden dialog; grown again, the dialog is back as it was, with its choice.
TEST_F(HostileEnvironmentScenario, ShrunkTerminalHidesTheDialogAndKeepsItsChoicesUntilGrown) {
    Build(IsaCardKeys(1, 8, 3, 0x300, 10));
    std::string whole;  // the settings dialog as drawn before the first shrink
    Alt('a');
    PressTimes(Key::Down, 10);  // base address "200" -> "2A0"
    Check([&] {
        ASSERT_EQ(Caption(), kSettingsCaption);
        ASSERT_EQ(ComboText(IDC_BASE_ADDRESS), "2A0");
        whole = screen.Text();
    });
    // Too low for the dialog, then too narrow for the notice's lines, then 1 x 1, then 0 x 0
    // (which a terminal reports as 1 x 1).
    const int sizes[][2] = {{80, 10}, {30, 8}, {1, 1}, {0, 0}};
    for (const auto& size : sizes) {
        screen.PushResize(size[0], size[1]);
        Check([this] {
            EXPECT_EQ(Caption(), kSettingsCaption);
            EXPECT_EQ(screen.Screen().Width(), screen.Width());
            EXPECT_EQ(screen.Screen().Height(), screen.Height());
            EXPECT_FALSE(Shows(kSettingsCaption)) << screen.Text();
            if (screen.Width() >= 30 && screen.Height() >= 8) {
                std::string notice;  // the screen's lines without their margins
                for (const std::string& line : screen.Lines()) {
                    const std::size_t start = line.find_first_not_of(' ');
                    if (start != std::string::npos) {
                        notice += (notice.empty() ? "" : " ") + line.substr(start);
                    }
                }
                EXPECT_THAT(notice, MatchesRegex("The terminal is too small: this dialog needs "
                                                 "[0-9]+ x [0-9]+\\. Enlarge it, or press Escape "
                                                 "to cancel\\."))
                    << screen.Text();
            }
        });
        // List keys, Done by its mnemonic and by Enter, Tab, a letter, and clicks where the
        // dialog lay and on the middle of the shrunk screen.
        PressTimes(Key::Down, 3);
        Alt('d');
        Press(Key::Enter);
        Press(Key::Tab);
        screen.PushText("x");
        screen.PushClick(40, 12);
        screen.PushClick(size[0] / 2, size[1] / 2);
        screen.PushResize(80, 24);
        Check([&] {
            ASSERT_EQ(Caption(), kSettingsCaption);
            EXPECT_EQ(ComboText(IDC_BASE_ADDRESS), "2A0");
            EXPECT_EQ(g_nChangeCount, 0);
            EXPECT_EQ(screen.Text(), whole);
        });
    }
    Press(Key::Enter);  // Done
    ExpectCardList({"Card1\tISA\t8\tCOM3\t", "Card2\tISA\t8\tCOM13\t"});
    EXPECT_EQ(Leave(), 1);
    EXPECT_EQ(Parameters(),
              LayoutOf(IsaCardKeys(1, 8, 3, 0x300, 10) + IsaCardKeys(2, 8, 13, 0x2A0, 5)));
}

// A registry file the utility must refuse before it draws anything: exit 2 and one line on
// standard error that names the file and says what is wrong with it. (That the file is left as
// it was, and each kind of refused file: tests/platform/registry/database_file_test.cpp.)
TEST_F(HostileEnvironmentScenario, ForeignRegistryFileIsRefusedBeforeDrawing) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(DatabasePath().c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "PRAGMA application_id = 1234; CREATE TABLE registry_keys(id);"
                           "INSERT INTO registry_keys VALUES(1)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    ::testing::internal::CaptureStderr();
    const int exitCode = RunApp();
    const std::string error = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(exitCode, 2);
    EXPECT_EQ(screen.PresentCount(), 0) << screen.Text();
    EXPECT_THAT(error, StartsWith("zovcfg: " + DatabasePath() +
                                  ": not a zovcfg registry (foreign SQLite database)"));
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
}

}  // namespace
}  // namespace zov::test
