// The dialog templates of zovcfg: each once, unique ids, controls that neither leave the dialog
// nor overlap nor straddle a group box frame, read-only property edits, and texts kept with their
// blanks and line breaks.
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

struct Box {
    int left, top, right, bottom;
};

// A closed drop-down list is one line of text (12 units) high; its template height is that of
// the opened list, which may cover the controls below it.
Box FaceOf(const ControlTemplate& control) {
    const int height = control.controlClass == ControlClass::ComboBox ? 12 : control.cy;
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
    static const DialogTemplate kEmpty;
    const DialogTemplate* dialog = ZovcfgResources().FindDialog(id);
    EXPECT_NE(dialog, nullptr) << "template " << id << " is missing";
    return dialog != nullptr ? *dialog : kEmpty;
}

TEST(DialogTemplates, EachTemplateOnceWithUniqueControlIds) {
    std::multiset<int> ids;
    for (const auto& dialog : ZovcfgResources().dialogs) {
        ids.insert(dialog.id);
    }
    EXPECT_EQ(ids.size(), std::size(kAllDialogs));
    for (int dialogId : kAllDialogs) {
        EXPECT_EQ(ids.count(dialogId), 1U) << "template " << dialogId;
        std::set<int> seen;
        for (const auto& control : Dialog(dialogId).controls) {
            EXPECT_TRUE(control.id == IDC_STATIC || seen.insert(control.id).second)
                << "template " << dialogId << " repeats id " << control.id;
        }
    }
}

// Group boxes may hold controls but only whole: a control that crosses a frame is an overlap.
TEST(DialogTemplates, ControlsStayInsideAndNeitherOverlapNorStraddleAGroupBox) {
    for (int dialogId : kAllDialogs) {
        const DialogTemplate& dialog = Dialog(dialogId);
        const auto& controls = dialog.controls;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const Box face = FaceOf(controls[i]);
            EXPECT_TRUE(Inside(face, {0, 0, dialog.cx, dialog.cy}))
                << "template " << dialogId << ": \"" << controls[i].text << "\" leaves the dialog";
            for (std::size_t j = 0; j < controls.size(); ++j) {
                const Box other = FaceOf(controls[j]);
                const bool clash = IsGroupBox(controls[j])
                                       ? Overlap(face, other) && !Inside(face, other)
                                       : !IsGroupBox(controls[i]) && Overlap(face, other);
                EXPECT_FALSE(i != j && clash)
                    << "template " << dialogId << ": \"" << controls[i].text << "\" and \""
                    << controls[j].text << "\"";
            }
        }
    }
}

TEST(DialogTemplates, PropertyEditsAreReadOnlyAndEnabled) {
    int edits = 0;
    for (const auto& control : Dialog(IDD_CARD_PROPERTIES).controls) {
        if (control.controlClass == ControlClass::Edit) {
            ++edits;
            EXPECT_EQ(control.style & (ES_READONLY | WS_DISABLED), static_cast<DWORD>(ES_READONLY))
                << control.id;
        }
    }
    EXPECT_EQ(edits, 7);
}

// The texts on screen keep their doubled blanks and line breaks; the notices' texts end the
// template.
TEST(DialogTemplates, TextsKeepTheirBlanksAndLineBreaks) {
    const struct {
        int dialogId;
        std::string caption;
        std::string text;  // the first (card list) or last control's text
    } kTexts[] = {
        {IDD_CARD_LIST, " Tarnell ZOV Cards",
         "&ZOVCards" + std::string(18, ' ') + "BusType" + std::string(9, ' ') + "Port Count" +
             std::string(7, ' ') + "Starting Port"},
        {IDD_ADD_CARD_ERROR, "Error Adding Card",
         "There are already 8 cards installed on your system.\n\nNo additional cards can be "
         "added."},
        {IDD_PROPERTIES_ERROR, "Error Displaying Card Properties",
         "No ZOV Cards have been configured on this system.\n\nCannot display any  Properties."},
        {IDD_REMOVE_ERROR, "Error Removing  Card",
         "There are no ZOV cards installed  on this system.\n\nCannot remove any card."},
        {IDD_REMOVE_CARD, "", "Do you want to Continue removing the Card ?"},
    };
    for (const auto& expected : kTexts) {
        const DialogTemplate& dialog = Dialog(expected.dialogId);
        ASSERT_FALSE(dialog.controls.empty()) << expected.dialogId;
        EXPECT_EQ(dialog.caption, expected.caption);
        const ControlTemplate& text =
            expected.dialogId == IDD_CARD_LIST ? dialog.controls.front() : dialog.controls.back();
        EXPECT_EQ(text.text, expected.text);
    }
}

}  // namespace
