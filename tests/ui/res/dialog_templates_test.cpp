// The dialog templates of zovcfg: presence, geometry, ids, texts and styles.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace {

using zov::ControlClass;
using zov::ControlTemplate;
using zov::DialogTemplate;

constexpr int kAllDialogs[] = {IDD_CARD_LIST,      IDD_CARD_SETTINGS,    IDD_CARD_PROPERTIES,
                               IDD_ADD_CARD_ERROR, IDD_PROPERTIES_ERROR, IDD_REMOVE_ERROR,
                               IDD_REMOVE_CARD};

// A closed drop-down list is one line of text high; its template height is that of the opened
// list, which may cover the controls below it.
constexpr int kClosedComboHeight = 12;

struct Box {
    int left, top, right, bottom;
};

Box FaceOf(const ControlTemplate& control) {
    const int height =
        control.controlClass == ControlClass::ComboBox ? kClosedComboHeight : control.cy;
    return {control.x, control.y, control.x + control.cx, control.y + height};
}

bool Overlap(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const Box& inner, const Box& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

bool IsGroupBox(const ControlTemplate& control) {
    return control.controlClass == ControlClass::Button &&
           (control.style & BS_TYPEMASK) == BS_GROUPBOX;
}

const DialogTemplate& Dialog(int id) {
    const DialogTemplate* dialog = ZovcfgResources().FindDialog(id);
    if (dialog == nullptr) {
        ADD_FAILURE() << "template " << id << " is missing";
        static const DialogTemplate kEmpty;
        return kEmpty;
    }
    return *dialog;
}

const ControlTemplate* Control(const DialogTemplate& dialog, int id) {
    for (const auto& control : dialog.controls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

std::vector<std::string> Texts(const DialogTemplate& dialog) {
    std::vector<std::string> texts;
    for (const auto& control : dialog.controls) {
        texts.push_back(control.text);
    }
    return texts;
}

// The radio buttons of the group that starts at firstId: up to the next control that starts a
// group, counting radio buttons only.
std::vector<int> RadioGroup(const DialogTemplate& dialog, int firstId) {
    std::vector<int> ids;
    bool inGroup = false;
    for (const auto& control : dialog.controls) {
        if (inGroup && (control.style & WS_GROUP) != 0) {
            break;
        }
        if (control.id == firstId) {
            inGroup = true;
        }
        if (inGroup && control.controlClass == ControlClass::Button &&
            (control.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
            ids.push_back(control.id);
        }
    }
    return ids;
}

TEST(ResourceModule, HoldsTheSevenTemplatesOnce) {
    std::multiset<int> ids;
    for (const auto& dialog : ZovcfgResources().dialogs) {
        ids.insert(dialog.id);
    }
    EXPECT_EQ(ids.size(), std::size(kAllDialogs));
    for (int id : kAllDialogs) {
        EXPECT_EQ(ids.count(id), 1U) << "template " << id;
    }
}

TEST(ResourceModule, InstanceHandleIsTheModule) {
    EXPECT_EQ(static_cast<const zov::ResourceModule*>(ZovcfgInstance()), &ZovcfgResources());
}

TEST(TemplateGeometry, ControlIdsAreUniqueWithinEachTemplate) {
    for (int dialogId : kAllDialogs) {
        std::set<int> seen;
        for (const auto& control : Dialog(dialogId).controls) {
            if (control.id != IDC_STATIC) {
                EXPECT_TRUE(seen.insert(control.id).second)
                    << "template " << dialogId << " repeats id " << control.id;
            }
        }
    }
}

TEST(TemplateGeometry, ControlsStayWithinTheDialog) {
    for (int dialogId : kAllDialogs) {
        const DialogTemplate& dialog = Dialog(dialogId);
        const Box client{0, 0, dialog.cx, dialog.cy};
        for (const auto& control : dialog.controls) {
            EXPECT_TRUE(Inside(FaceOf(control), client))
                << "template " << dialogId << ": \"" << control.text << "\" id " << control.id;
        }
    }
}

TEST(TemplateGeometry, ControlsOtherThanGroupBoxesDoNotOverlap) {
    for (int dialogId : kAllDialogs) {
        const auto& controls = Dialog(dialogId).controls;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                if (IsGroupBox(controls[i]) || IsGroupBox(controls[j])) {
                    continue;
                }
                EXPECT_FALSE(Overlap(FaceOf(controls[i]), FaceOf(controls[j])))
                    << "template " << dialogId << ": control " << i << " and " << j;
            }
        }
    }
}

TEST(TemplateGeometry, GroupBoxesHoldTheirControlsWhole) {
    for (int dialogId : kAllDialogs) {
        const auto& controls = Dialog(dialogId).controls;
        for (const auto& box : controls) {
            if (!IsGroupBox(box)) {
                continue;
            }
            for (const auto& control : controls) {
                if (&control == &box) {
                    continue;
                }
                const Box face = FaceOf(control);
                const bool straddles = Overlap(face, FaceOf(box)) && !Inside(face, FaceOf(box));
                EXPECT_FALSE(straddles) << "template " << dialogId << ": \"" << control.text
                                        << "\" crosses the frame of \"" << box.text << "\"";
            }
        }
    }
}

TEST(TemplateGeometry, EveryTemplateIsPlacedAtTheOriginForCentring) {
    for (int dialogId : kAllDialogs) {
        EXPECT_EQ(Dialog(dialogId).x, 0);
        EXPECT_EQ(Dialog(dialogId).y, 0);
    }
}

TEST(TemplateFrames, CaptionsKeepTheirBlanks) {
    EXPECT_EQ(Dialog(IDD_CARD_LIST).caption, " Tarnell ZOV Cards");
    EXPECT_EQ(Dialog(IDD_CARD_SETTINGS).caption, "ZOV Card Settings");
    EXPECT_EQ(Dialog(IDD_CARD_PROPERTIES).caption, "Card Properties");
    EXPECT_EQ(Dialog(IDD_ADD_CARD_ERROR).caption, "Error Adding Card");
    EXPECT_EQ(Dialog(IDD_PROPERTIES_ERROR).caption, "Error Displaying Card Properties");
    EXPECT_EQ(Dialog(IDD_REMOVE_ERROR).caption, "Error Removing  Card");
    EXPECT_EQ(Dialog(IDD_REMOVE_CARD).caption, "");
}

TEST(TemplateFrames, SizesAndFont) {
    const struct {
        int id, cx, cy;
    } kSizes[] = {{IDD_CARD_LIST, 308, 135},       {IDD_CARD_SETTINGS, 256, 135},
                  {IDD_CARD_PROPERTIES, 305, 142}, {IDD_ADD_CARD_ERROR, 186, 87},
                  {IDD_PROPERTIES_ERROR, 186, 87}, {IDD_REMOVE_ERROR, 186, 90},
                  {IDD_REMOVE_CARD, 217, 85}};
    for (const auto& size : kSizes) {
        const DialogTemplate& dialog = Dialog(size.id);
        EXPECT_EQ(dialog.cx, size.cx) << "template " << size.id;
        EXPECT_EQ(dialog.cy, size.cy) << "template " << size.id;
        EXPECT_EQ(dialog.fontName, "MS Sans Serif");
        EXPECT_EQ(dialog.pointSize, 8);
        EXPECT_EQ(dialog.style & (WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT),
                  static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT));
        EXPECT_EQ(dialog.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0U)
            << "template " << size.id;
    }
}

TEST(TemplateFrames, SystemMenuOnlyOnCardListPropertiesAndCardLimitNotice) {
    const std::set<int> withSystemMenu = {IDD_CARD_LIST, IDD_CARD_PROPERTIES, IDD_ADD_CARD_ERROR};
    for (int dialogId : kAllDialogs) {
        EXPECT_EQ((Dialog(dialogId).style & WS_SYSMENU) != 0, withSystemMenu.count(dialogId) == 1)
            << "template " << dialogId;
    }
}

TEST(TemplateFrames, OnlyTheCardListIsAVisibleApplicationWindow) {
    for (int dialogId : kAllDialogs) {
        const DialogTemplate& dialog = Dialog(dialogId);
        const bool isCardList = dialogId == IDD_CARD_LIST;
        EXPECT_EQ((dialog.style & WS_VISIBLE) != 0, isCardList) << "template " << dialogId;
        EXPECT_EQ((dialog.exStyle & WS_EX_APPWINDOW) != 0, isCardList) << "template " << dialogId;
    }
    EXPECT_NE(Dialog(IDD_CARD_LIST).style & DS_3DLOOK, 0U);
}

TEST(TemplateControls, EveryControlIsAVisibleChild) {
    for (int dialogId : kAllDialogs) {
        for (const auto& control : Dialog(dialogId).controls) {
            EXPECT_EQ(control.style & (WS_CHILD | WS_VISIBLE | WS_DISABLED),
                      static_cast<DWORD>(WS_CHILD | WS_VISIBLE))
                << "template " << dialogId << " control " << control.id;
        }
    }
}

TEST(TemplateControls, DefaultPushButtons) {
    const std::set<int> kWithout = {IDD_CARD_LIST};
    for (int dialogId : kAllDialogs) {
        std::vector<int> defaults;
        for (const auto& control : Dialog(dialogId).controls) {
            if (control.controlClass == ControlClass::Button &&
                (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                defaults.push_back(control.id);
            }
        }
        if (kWithout.count(dialogId) == 1) {
            EXPECT_TRUE(defaults.empty()) << "template " << dialogId;
        } else {
            EXPECT_EQ(defaults, std::vector<int>{IDOK}) << "template " << dialogId;
        }
    }
}

TEST(CardListTemplate, HeadingsListAndCommandsInTabOrder) {
    const DialogTemplate& dialog = Dialog(IDD_CARD_LIST);
    ASSERT_EQ(dialog.controls.size(), 6U);
    EXPECT_EQ(dialog.controls[0].text, "&ZOVCards" + std::string(18, ' ') + "BusType" +
                                           std::string(9, ' ') + "Port Count" +
                                           std::string(7, ' ') + "Starting Port");
    const int kOrder[] = {IDC_STATIC, IDC_CARD_LIST, IDCANCEL, IDC_PROPERTIES, IDC_ADD, IDC_REMOVE};
    for (std::size_t i = 0; i < std::size(kOrder); ++i) {
        EXPECT_EQ(dialog.controls[i].id, kOrder[i]) << "position " << i;
    }
    const ControlTemplate* list = Control(dialog, IDC_CARD_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->controlClass, ControlClass::ListBox);
    const DWORD listStyle =
        LBS_NOTIFY | LBS_USETABSTOPS | LBS_WANTKEYBOARDINPUT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
    EXPECT_EQ(list->style & listStyle, listStyle);
    EXPECT_EQ(list->style & LBS_SORT, 0U) << "rows must stay in census order";
    EXPECT_EQ(Texts(dialog)[2], "&Close");
    EXPECT_EQ(Texts(dialog)[3], "&Properties");
    EXPECT_EQ(Texts(dialog)[4], "&Add");
    EXPECT_EQ(Texts(dialog)[5], "&Remove");
}

TEST(CardSettingsTemplate, DropDownListsAndTheirStyles) {
    const DialogTemplate& dialog = Dialog(IDD_CARD_SETTINGS);
    const struct {
        int id;
        DWORD style;
    } kLists[] = {{IDC_BASE_ADDRESS, CBS_SORT}, {IDC_IRQ, 0}, {IDC_STARTING_PORT, CBS_UPPERCASE}};
    for (const auto& expected : kLists) {
        const ControlTemplate* combo = Control(dialog, expected.id);
        ASSERT_NE(combo, nullptr) << expected.id;
        EXPECT_EQ(combo->controlClass, ControlClass::ComboBox);
        EXPECT_EQ(combo->style & 0x3U, static_cast<DWORD>(CBS_DROPDOWNLIST)) << expected.id;
        EXPECT_EQ(combo->style & (CBS_SORT | CBS_UPPERCASE), expected.style) << expected.id;
        EXPECT_NE(combo->style & WS_VSCROLL, 0U);
        EXPECT_NE(combo->style & WS_TABSTOP, 0U);
    }
}

TEST(CardSettingsTemplate, RadioGroupsEndWhereTheNextGroupStarts) {
    const DialogTemplate& dialog = Dialog(IDD_CARD_SETTINGS);
    EXPECT_EQ(RadioGroup(dialog, IDC_PORTS_4),
              (std::vector<int>{IDC_PORTS_4, IDC_PORTS_8, IDC_PORTS_16}));
    EXPECT_EQ(RadioGroup(dialog, IDC_BUS_ISA), (std::vector<int>{IDC_BUS_ISA, IDC_BUS_PCI}));
    ASSERT_NE(Control(dialog, IDC_BUS_PCI), nullptr);
    EXPECT_NE(Control(dialog, IDC_BUS_PCI)->style & WS_TABSTOP, 0U);
    ASSERT_NE(Control(dialog, IDC_PORTS_8), nullptr);
    EXPECT_EQ(Control(dialog, IDC_PORTS_8)->style & WS_TABSTOP, 0U);
}

TEST(CardSettingsTemplate, TextsInTemplateOrder) {
    EXPECT_EQ(Texts(Dialog(IDD_CARD_SETTINGS)),
              (std::vector<std::string>{"Card Settings", "", "", "", "&Port Count", "4 Ports",
                                        "8 Ports", "16 Ports", "BusType", "ISA", "PCI", "&Done",
                                        "&Cancel", "Base Address", "IRQ", "Starting Port"}));
}

TEST(CardPropertiesTemplate, EditsAreReadOnlyAndEnabled) {
    const DialogTemplate& dialog = Dialog(IDD_CARD_PROPERTIES);
    const int kEdits[] = {IDC_EDIT_CARD_NUMBER, IDC_EDIT_PORT_COUNT,   IDC_EDIT_STARTING_PORT,
                          IDC_EDIT_PCI_BUS,     IDC_EDIT_BASE_ADDRESS, IDC_EDIT_IRQ,
                          IDC_EDIT_PCI_SLOT};
    const DWORD kStyle = ES_READONLY | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    for (std::size_t i = 0; i < std::size(kEdits); ++i) {
        // The edits follow the two buttons and the first group box, in this order.
        ASSERT_GT(dialog.controls.size(), i + 3);
        const ControlTemplate& edit = dialog.controls[i + 3];
        EXPECT_EQ(edit.id, kEdits[i]);
        EXPECT_EQ(edit.controlClass, ControlClass::Edit);
        EXPECT_EQ(edit.style & kStyle, kStyle) << edit.id;
        EXPECT_EQ(edit.style & WS_DISABLED, 0U) << edit.id;
    }
}

TEST(CardPropertiesTemplate, TextsInTemplateOrder) {
    EXPECT_EQ(Texts(Dialog(IDD_CARD_PROPERTIES)),
              (std::vector<std::string>{"OK", "Cancel", "Card Properties", "", "", "", "", "", "",
                                        "", "Base Address", "IRQ Used", "PCI Bus", "PCI Slot",
                                        "Card Identity", "Card Number", "Port  Properties",
                                        "No Of Ports", "Starting Port"}));
}

TEST(NoticeTemplates, TextsKeepTheirBlanksAndLineBreaks) {
    EXPECT_EQ(Texts(Dialog(IDD_ADD_CARD_ERROR)),
              (std::vector<std::string>{"&OK",
                                        "There are already 8 cards installed on your system.\n\n"
                                        "No additional cards can be added."}));
    EXPECT_EQ(Texts(Dialog(IDD_PROPERTIES_ERROR)),
              (std::vector<std::string>{"&OK",
                                        "No ZOV Cards have been configured on this system.\n\n"
                                        "Cannot display any  Properties."}));
    EXPECT_EQ(Texts(Dialog(IDD_REMOVE_ERROR)),
              (std::vector<std::string>{"&OK",
                                        "There are no ZOV cards installed  on this system.\n\n"
                                        "Cannot remove any card."}));
    EXPECT_EQ(Texts(Dialog(IDD_REMOVE_CARD)),
              (std::vector<std::string>{"&Continue", "&Abort",
                                        "Do you want to Continue removing the Card ?"}));
}

TEST(NoticeTemplates, NoticeTextsAreCentredAndStartAGroup) {
    for (int dialogId :
         {IDD_ADD_CARD_ERROR, IDD_PROPERTIES_ERROR, IDD_REMOVE_ERROR, IDD_REMOVE_CARD}) {
        const ControlTemplate& text = Dialog(dialogId).controls.back();
        EXPECT_EQ(text.controlClass, ControlClass::Static);
        EXPECT_EQ(text.style & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER));
        EXPECT_NE(text.style & WS_GROUP, 0U);
    }
    const ControlTemplate* abort = Control(Dialog(IDD_REMOVE_CARD), IDCANCEL);
    ASSERT_NE(abort, nullptr);
    EXPECT_EQ(abort->style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
}

}  // namespace
