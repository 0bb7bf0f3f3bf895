// The layout rule on the hard cases of the utility's templates (their geometry copied here):
// every text whole on screen, no two controls overlapping, headings over their list columns,
// and the dialogs on an 80-column screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_harness.h"

namespace zov::test {
namespace {

DialogTemplate Notice() {
    return DialogOf(131, "Error Adding Card", 186, 87,
                    {PushButtonAt(IDOK, "&OK", 69, 60, BS_DEFPUSHBUTTON),
                     StaticAt("There are already 8 cards installed on your system.\n\nNo "
                              "additional cards can be added.",
                              15, 14, 153, 36, SS_CENTER | WS_GROUP)},
                    WS_SYSMENU);
}

struct Layout {
    std::vector<std::pair<int, RECT>> controls;  // id and rectangle on screen, template order
    int dialogWidth = 0;
    std::vector<std::string> lines;
};

// Runs the dialog on an 80 x 25 screen and reads where everything went.
Layout LayOut(DialogTemplate dialogTemplate) {
    DialogHarness h;
    const int id = dialogTemplate.id;
    // Labels get ids of their own so that they can be found; group boxes, which hold other
    // controls, are left out of the comparison.
    for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
        ControlTemplate& control = dialogTemplate.controls[i];
        if (control.id == IDC_STATIC && control.controlClass == ControlClass::Static) {
            control.id = 3000 + static_cast<int>(i);
        }
    }
    const std::vector<ControlTemplate> controls = dialogTemplate.controls;
    h.Add(std::move(dialogTemplate));
    Layout layout;
    h.RunChecking(id, {}, [&] {
        RECT dialogRect{};
        GetWindowRect(h.last, &dialogRect);
        layout.dialogWidth = dialogRect.right - dialogRect.left;
        layout.lines = h.screen.Lines();
        for (const ControlTemplate& control : controls) {
            if (control.id != IDC_STATIC) {
                RECT rect{};
                GetWindowRect(h.Item(control.id), &rect);
                layout.controls.emplace_back(control.id, rect);
            }
        }
    });
    return layout;
}

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

struct GeometryCase {
    const char* name;
    DialogTemplate (*make)();
    std::vector<std::string> texts;  // the texts most likely to be cut, as shown
};

class LayoutRule : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(LayoutRule, EveryTextIsWholeNoControlsOverlapAndTheDialogFitsEightyColumns) {
    const Layout layout = LayOut(GetParam().make());
    EXPECT_LE(layout.dialogWidth, 80);
    std::string screen;
    for (const std::string& line : layout.lines) {
        screen += line + "\n";
    }
    for (const std::string& text : GetParam().texts) {
        EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;
    }
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        for (std::size_t j = i + 1; j < layout.controls.size(); ++j) {
            EXPECT_FALSE(Overlap(layout.controls[i].second, layout.controls[j].second))
                << layout.controls[i].first << " and " << layout.controls[j].first;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Templates, LayoutRule,
    ::testing::Values(
        GeometryCase{"CardList", CardListLike, {"ZOVCards", "Starting Port", "[ Properties ]"}},
        GeometryCase{"CardSettings",
                     CardSettingsLike,
                     {"Base Address ", "Starting Port ", "( ) 4 Ports", "( ) 8 Ports",
                      "( ) 16 Ports", "( ) ISA", "( ) PCI"}},
        GeometryCase{"Notice",
                     Notice,
                     {"There are already 8 cards installed on", "your system.",
                      "No additional cards can be added.", "OK"}}),
    [](const ::testing::TestParamInfo<GeometryCase>& row) { return std::string(row.param.name); });

TEST(LayoutRuleDetails, HeadingWordsStandOverTheirListColumns) {
    DialogHarness h;
    h.Add(CardListLike());
    h.onInit = [](HWND dialog) -> INT_PTR {
        const int stops[3] = {72, 125, 145};
        SendDlgItemMessageA(dialog, 1000, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(stops));
        SendDlgItemMessageA(dialog, 1000, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>("Card1\tISA\t8\tCOM13\t"));
        return TRUE;
    };
    h.RunChecking(142, {}, [&] {
        for (const auto& [heading, cell] :
             std::vector<std::pair<const char*, const char*>>{{"ZOVCards", "Card1"},
                                                              {"BusType", "ISA"},
                                                              {"Port Count", "8 "},
                                                              {"Starting Port", "COM13"}}) {
            const Spot over = h.Locate(heading);
            const Spot under = h.Locate(cell);
            EXPECT_LT(over.y, under.y) << heading;
            EXPECT_LE(std::abs(over.x - under.x), 5) << heading;
        }
    });
}

TEST(LayoutRuleDetails, ResizeRecentresTheDialog) {
    DialogHarness h(80, 25);
    h.Add(Notice());
    RECT before{};
    RECT after{};
    h.screen.PushCallback([&] { GetWindowRect(h.last, &before); });
    h.screen.PushResize(120, 40);
    h.RunChecking(131, {}, [&] { GetWindowRect(h.last, &after); });
    EXPECT_EQ(after.left - before.left, 20);
    EXPECT_GT(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

}  // namespace
}  // namespace zov::test
