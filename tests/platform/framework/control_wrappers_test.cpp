// The list box wrapper as the card list uses it, and a disabled default button.
#include <gtest/gtest.h>

#include <vector>

#include "platform/framework/c_button.h"
#include "platform/framework/c_dialog.h"
#include "platform/framework/c_list_box.h"
#include "platform/framework/data_exchange.h"
#include "test_resources.h"

namespace framework_test {
namespace {

class ListDlg : public CDialog {
  public:
    ListDlg() : CDialog(kIddList) {}
    CListBox m_lstRows;
    CButton m_btnOk;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kIdcRows, m_lstRows);
        DDX_Control(pDX, IDOK, m_btnOk);
    }
};

using ControlWrappersTest = FrameworkTest;

TEST_F(ControlWrappersTest, ListRowsAddSelectAndReadBack) {
    ListDlg dialog;
    Screen().PushCallback([&] {
        CListBox& rows = dialog.m_lstRows;
        const int tabStops[] = {60, 100, 150};
        EXPECT_TRUE(rows.SetTabStops(3, tabStops));
        EXPECT_EQ(rows.AddString("Card1\tISA\t8\tCOM3"), 0);
        EXPECT_EQ(rows.AddString("Card2\tPCI\t16\tCOM11"), 1);
        EXPECT_EQ(rows.AddString("Card10\tISA\t4\tCOM40"), 2) << "rows stay in insertion order";

        EXPECT_EQ(rows.SelectString(-1, "card1"), 0) << "first row that begins with the text";
        EXPECT_EQ(rows.SelectString(-1, "Card2"), 1);
        EXPECT_EQ(rows.SelectString(-1, "Card7"), LB_ERR);
        EXPECT_EQ(rows.GetCurSel(), 1) << "a failed search keeps the selection";

        std::vector<char> buffer(static_cast<std::size_t>(rows.GetTextLen(2)) + 1, 'x');
        EXPECT_EQ(rows.GetText(2, buffer.data()), 18);
        EXPECT_STREQ(buffer.data(), "Card10\tISA\t4\tCOM40");
        CString text = "stale";
        rows.GetText(3, text);
        EXPECT_EQ(text, "") << "no row, no text";

        rows.ResetContent();
        EXPECT_EQ(rows.GetCount(), 0);
        EXPECT_EQ(rows.GetCurSel(), LB_ERR);
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(ControlWrappersTest, DisabledDefaultButtonIsSkippedByEnter) {
    ListDlg dialog;
    Screen().PushCallback([&] {
        dialog.m_btnOk.EnableWindow(FALSE);
        EXPECT_FALSE(dialog.m_btnOk.IsWindowEnabled());
    });
    Screen().PushKey(zov::Key::Enter);  // the default button is disabled: nothing happens
    Screen().PushCallback([&] { EXPECT_TRUE(::IsWindow(dialog.m_hWnd)); });
    Screen().PushKey(zov::Key::Escape);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

}  // namespace
}  // namespace framework_test
