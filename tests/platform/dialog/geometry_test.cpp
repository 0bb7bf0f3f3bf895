// The layout rule on the hard cases of the utility's templates (their geometry copied here):
// every text whole on screen, no two controls overlapping, headings over their list columns,
// and the dialogs on an 80-column screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_harness.h"

namespace zov::test {
namespace {

constexpr DWORD kReadOnlyEdit = ES_READONLY;

DialogTemplate CardList() {
    return DialogOf(
        142, " Tarnell ZOV Cards", 308, 135,
        {StaticAt("&ZOVCards                  BusType         Port Count       "
                  "Starting Port",
                  17, 23, 201, 8),
         ListAt(1000, 15, 34, 214, 77, LBS_NOTIFY | LBS_USETABSTOPS),
         PushButtonAt(IDCANCEL, "&Close", 238, 30), PushButtonAt(1004, "&Properties", 238, 50),
         PushButtonAt(1001, "&Add", 238, 70), PushButtonAt(1002, "&Remove", 238, 90)},
        WS_SYSMENU);
}

DialogTemplate CardSettings() {
    return DialogOf(
        130, "ZOV Card Settings", 256, 135,
        {GroupBoxAt("Card Settings", 17, 12, 110, 92), ComboAt(1008, 69, 30, 48, 69, CBS_SORT),
         ComboAt(1014, 69, 53, 48, 48), ComboAt(1000, 69, 78, 48, 63),
         GroupBoxAt("&Port Count", 146, 12, 87, 52),
         RadioAt(1001, "4 Ports", 170, 22, 38, WS_GROUP | WS_TABSTOP),
         RadioAt(1002, "8 Ports", 170, 37, 36), RadioAt(1003, "16 Ports", 170, 52, 39),
         GroupBoxAt("BusType", 146, 68, 87, 36),
         RadioAt(1011, "ISA", 170, 78, 26, WS_GROUP | WS_TABSTOP),
         RadioAt(1012, "PCI", 170, 92, 30, WS_TABSTOP),
         PushButtonAt(IDOK, "&Done", 40, 114, BS_DEFPUSHBUTTON | WS_GROUP),
         PushButtonAt(IDCANCEL, "&Cancel", 159, 114),
         StaticAt("Base Address", 22, 32, 45, 10, WS_GROUP), StaticAt("IRQ", 22, 55, 45, 10),
         StaticAt("Starting Port", 22, 78, 42, 13, WS_GROUP)});
}

DialogTemplate CardProperties() {
    ControlTemplate ok = PushButtonAt(IDOK, "OK", 242, 17, BS_DEFPUSHBUTTON);
    ControlTemplate cancel = PushButtonAt(IDCANCEL, "Cancel", 242, 34);
    return DialogOf(
        132, "Card Properties", 305, 142,
        {ok, cancel, GroupBoxAt("Card Properties", 16, 13, 109, 108),
         EditAt(1013, 185, 27, 40, 15, kReadOnlyEdit), EditAt(1014, 185, 69, 40, 15, kReadOnlyEdit),
         EditAt(1015, 185, 98, 40, 15, kReadOnlyEdit), EditAt(1016, 79, 76, 38, 15, kReadOnlyEdit),
         EditAt(1017, 79, 29, 38, 15, kReadOnlyEdit), EditAt(1008, 79, 53, 38, 15, kReadOnlyEdit),
         EditAt(1004, 79, 100, 38, 15, kReadOnlyEdit), StaticAt("Base Address", 26, 32, 45, 13),
         StaticAt("IRQ Used", 26, 57, 45, 13), StaticAt("PCI Bus", 26, 80, 45, 13),
         StaticAt("PCI Slot", 26, 103, 45, 13), GroupBoxAt("Card Identity", 131, 13, 97, 35),
         StaticAt("Card Number", 135, 29, 46, 15), GroupBoxAt("Port  Properties", 131, 54, 97, 67),
         StaticAt("No Of Ports", 137, 72, 42, 15), StaticAt("Starting Port", 137, 101, 45, 12)},
        WS_SYSMENU);
}

DialogTemplate Notice() {
    return DialogOf(131, "Error Adding Card", 186, 87,
                    {PushButtonAt(IDOK, "&OK", 69, 60, BS_DEFPUSHBUTTON),
                     StaticAt("There are already 8 cards installed on your system.\n\nNo "
                              "additional cards can be added.",
                              15, 14, 153, 36, SS_CENTER | WS_GROUP)},
                    WS_SYSMENU);
}

struct Placed {
    int id;
    RECT rect;
};

// Every control's rectangle on screen, read while the dialog runs.
std::vector<Placed> PlaceOf(DialogTemplate dialogTemplate, int width, int* dialogWidth,
                            std::vector<std::string>* screenLines) {
    DialogHarness h(width, 25);
    const int id = dialogTemplate.id;
    // Labels get ids of their own so that they can be found; group boxes, which hold other
    // controls, are left out of the comparison.
    for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
        ControlTemplate& control = dialogTemplate.controls[i];
        if (control.id == IDC_STATIC && control.controlClass == ControlClass::Static) {
            control.id = 3000 + static_cast<int>(i);
        }
    }
    std::vector<ControlTemplate> controls = dialogTemplate.controls;
    h.Add(std::move(dialogTemplate));
    std::vector<Placed> placed;
    h.screen.PushCallback([&] {
        RECT dialogRect{};
        GetWindowRect(h.last, &dialogRect);
        *dialogWidth = dialogRect.right - dialogRect.left;
        *screenLines = h.screen.Lines();
    });
    h.onInit = [&](HWND dialog) -> INT_PTR {
        // The controls in template order, by their ids.
        for (const ControlTemplate& control : controls) {
            if (control.id == IDC_STATIC) {
                continue;
            }
            Placed p{control.id, {}};
            GetWindowRect(GetDlgItem(dialog, control.id), &p.rect);
            placed.push_back(p);
        }
        return TRUE;
    };
    h.screen.PushKey(Key::Escape);
    h.Run(id);
    return placed;
}

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

struct GeometryCase {
    const char* name;
    DialogTemplate (*make)();
    std::vector<std::string> texts;  // every text of the template, as shown
};

class LayoutRule : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(LayoutRule, EveryTextIsWholeAndTheDialogFitsEightyColumns) {
    int dialogWidth = 0;
    std::vector<std::string> lines;
    PlaceOf(GetParam().make(), 80, &dialogWidth, &lines);
    EXPECT_LE(dialogWidth, 80);
    std::string screen;
    for (const std::string& line : lines) {
        screen += line + "\n";
    }
    for (const std::string& text : GetParam().texts) {
        EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;
    }
}

TEST_P(LayoutRule, NoTwoControlsOverlap) {
    int dialogWidth = 0;
    std::vector<std::string> lines;
    const std::vector<Placed> placed = PlaceOf(GetParam().make(), 80, &dialogWidth, &lines);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            EXPECT_FALSE(Overlap(placed[i].rect, placed[j].rect))
                << placed[i].id << " and " << placed[j].id;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Templates, LayoutRule,
    ::testing::Values(
        GeometryCase{"CardList",
                     CardList,
                     {"ZOVCards", "BusType", "Port Count", "Starting Port", "[   Close   ]",
                      "[ Properties ]", "Add", "Remove", "Tarnell ZOV Cards"}},
        GeometryCase{"CardSettings",
                     CardSettings,
                     {"Base Address ", "IRQ ", "Starting Port ", "( ) 4 Ports", "( ) 8 Ports",
                      "( ) 16 Ports", "( ) ISA", "( ) PCI", " Card Settings ", " Port Count ",
                      " BusType ", "Done", "Cancel"}},
        GeometryCase{
            "CardProperties",
            CardProperties,
            {"Base Address ", "IRQ Used ", "PCI Bus ", "PCI Slot ", "Card Number ", "No Of Ports ",
             "Starting Port ", " Port  Properties ", " Card Identity ", " Card Properties "}},
        GeometryCase{"Notice",
                     Notice,
                     {"There are already 8 cards installed on", "your system.",
                      "No additional cards can be added.", "OK"}}),
    [](const ::testing::TestParamInfo<GeometryCase>& info) {
        return std::string(info.param.name);
    });

TEST(LayoutRuleDetails, LabelsKeepABlankBeforeTheirField) {
    int dialogWidth = 0;
    std::vector<std::string> lines;
    PlaceOf(CardSettings(), 80, &dialogWidth, &lines);
    bool found = false;
    for (const std::string& line : lines) {
        const std::size_t at = line.find("Starting Port");
        if (at != std::string::npos && line.find("Card") == std::string::npos) {
            found = true;
            EXPECT_EQ(line[at + 13], ' ');
        }
    }
    EXPECT_TRUE(found);
}

TEST(LayoutRuleDetails, HeadingWordsStandNearTheirListColumns) {
    DialogHarness h;
    h.Add(CardList());
    h.onInit = [](HWND dialog) -> INT_PTR {
        const int stops[3] = {72, 125, 145};
        SendDlgItemMessageA(dialog, 1000, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(stops));
        SendDlgItemMessageA(dialog, 1000, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>("Card1\tISA\t8\tCOM13\t"));
        return TRUE;
    };
    struct Pair {
        const char* heading;
        const char* cell;
    };
    h.screen.PushCallback([&] {
        for (const Pair& pair : {Pair{"ZOVCards", "Card1"}, Pair{"BusType", "ISA"},
                                 Pair{"Port Count", "8 "}, Pair{"Starting Port", "COM13"}}) {
            int hx = 0;
            int hy = 0;
            int cx = 0;
            int cy = 0;
            ASSERT_TRUE(h.screen.Find(pair.heading, &hx, &hy)) << pair.heading;
            ASSERT_TRUE(h.screen.Find(pair.cell, &cx, &cy)) << pair.cell;
            EXPECT_LT(hy, cy);
            EXPECT_LE(std::abs(hx - cx), 5) << pair.heading;
        }
    });
    h.screen.PushKey(Key::Escape);
    h.Run(142);
}

TEST(LayoutRuleDetails, ASmallTerminalShowsANoticeAndEscapeStillCancels) {
    DialogHarness h(40, 10);
    h.Add(CardList());
    h.screen.PushCallback([&] {
        EXPECT_TRUE(h.screen.Find("too small", nullptr, nullptr));
        EXPECT_FALSE(h.screen.Find("Close", nullptr, nullptr));
    });
    h.screen.PushResize(80, 25);
    h.screen.PushCallback([&] {
        EXPECT_FALSE(h.screen.Find("too small", nullptr, nullptr));
        EXPECT_TRUE(h.screen.Find("Close", nullptr, nullptr));
    });
    h.screen.PushResize(30, 8);
    h.screen.PushKey(Key::Escape);
    EXPECT_EQ(h.Run(142), IDCANCEL);
    EXPECT_FALSE(h.screen.RanDry());
}

TEST(LayoutRuleDetails, ResizeRecentresTheDialog) {
    DialogHarness h(80, 25);
    h.Add(Notice());
    RECT before{};
    RECT after{};
    h.screen.PushCallback([&] { GetWindowRect(h.last, &before); });
    h.screen.PushResize(120, 40);
    h.screen.PushCallback([&] { GetWindowRect(h.last, &after); });
    h.screen.PushKey(Key::Escape);
    h.Run(131);
    EXPECT_EQ(after.left - before.left, 20);
    EXPECT_GT(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

}  // namespace
}  // namespace zov::test
