// The dialog templates of zovcfg: each once, unique ids and read-only property edits; their
// layout is held by the golden screens.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ui/res/resource.h"
#include "ui/res/zovcfg_resources.h"

namespace {

using zov::ControlClass;
using zov::DialogTemplate;

constexpr int kAllDialogs[] = {IDD_CARD_LIST,      IDD_CARD_SETTINGS,    IDD_CARD_PROPERTIES,
                               IDD_ADD_CARD_ERROR, IDD_PROPERTIES_ERROR, IDD_REMOVE_ERROR,
                               IDD_REMOVE_CARD};

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

}  // namespace
