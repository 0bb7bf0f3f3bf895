// The control wrappers and window calls as the dialog classes use them: list rows, edits,
// enabling, captions, icons and painting.
#include <gtest/gtest.h>

#include <vector>

#include "platform/framework/c_button.h"
#include "platform/framework/c_dialog.h"
#include "platform/framework/c_edit.h"
#include "platform/framework/c_list_box.h"
#include "platform/framework/c_paint_dc.h"
#include "platform/framework/data_exchange.h"
#include "platform/framework/resource_handle.h"
#include "test_resources.h"

namespace framework_test {
namespace {

class ListDlg : public CDialog {
  public:
    ListDlg() : CDialog(kIddList) {}
    CListBox m_lstRows;
    CEdit m_editNote;
    CButton m_btnOk;

    int m_nPaints = 0;
    BOOL m_bIconDrawn = FALSE;
    HICON m_hIcon = nullptr;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kIdcRows, m_lstRows);
        DDX_Control(pDX, kIdcNote, m_editNote);
        DDX_Control(pDX, IDOK, m_btnOk);
    }
    void OnPaint() {
        CPaintDC dc(this);
        ++m_nPaints;
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        m_bIconDrawn = dc.DrawIcon(0, 0, m_hIcon);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ListDlg, CDialog)
ON_WM_PAINT()
END_MESSAGE_MAP()

using ControlWrappersTest = FrameworkTest;

TEST_F(ControlWrappersTest, ListRowsAddSelectAndReadBack) {
    ListDlg dialog;
    Screen().PushCallback([&] {
        CListBox& rows = dialog.m_lstRows;
        const int tabStops[] = {60, 100, 150};
        EXPECT_TRUE(rows.SetTabStops(3, tabStops));
        rows.ResetContent();
        EXPECT_EQ(rows.AddString("Card1\tISA\t8\tCOM3"), 0);
        EXPECT_EQ(rows.AddString("Card2\tPCI\t16\tCOM11"), 1);
        EXPECT_EQ(rows.AddString("Card10\tISA\t4\tCOM40"), 2) << "rows stay in insertion order";
        EXPECT_EQ(rows.GetCount(), 3);

        EXPECT_EQ(rows.SelectString(-1, "card1"), 0) << "first row that begins with the text";
        EXPECT_EQ(rows.GetCurSel(), 0);
        EXPECT_EQ(rows.SelectString(-1, "Card2"), 1);
        EXPECT_EQ(rows.GetCurSel(), 1);
        EXPECT_EQ(rows.SelectString(-1, "Card7"), LB_ERR);
        EXPECT_EQ(rows.GetCurSel(), 1) << "a failed search keeps the selection";

        CString text;
        rows.GetText(rows.GetCurSel(), text);
        EXPECT_EQ(text, "Card2\tPCI\t16\tCOM11");
        std::vector<char> buffer(static_cast<std::size_t>(rows.GetTextLen(2)) + 1, 'x');
        EXPECT_EQ(rows.GetText(2, buffer.data()), 18);
        EXPECT_STREQ(buffer.data(), "Card10\tISA\t4\tCOM40");
        rows.GetText(3, text);
        EXPECT_EQ(text, "") << "no row, no text";

        rows.ResetContent();
        EXPECT_EQ(rows.GetCount(), 0);
        EXPECT_EQ(rows.GetCurSel(), LB_ERR);
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(ControlWrappersTest, EditLimitAndSelection) {
    ListDlg dialog;
    Screen().PushCallback([&] {
        dialog.m_editNote.LimitText(1);
        EXPECT_EQ(dialog.m_editNote.SendMessage(EM_GETLIMITTEXT), 1);
        dialog.m_editNote.SetWindowText("0x3f0");
        dialog.m_editNote.SetSel(0, -1);
        DWORD start = 99;
        DWORD end = 99;
        dialog.m_editNote.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                      reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0U);
        EXPECT_EQ(end, 5U);
        CString text;
        dialog.m_editNote.GetWindowText(text);
        EXPECT_EQ(text, "0x3f0") << "a limit does not cut text set by the program";
        EXPECT_EQ(dialog.m_editNote.GetWindowTextLength(), 5);
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(ControlWrappersTest, DisabledButtonIsSkippedByEnter) {
    ListDlg dialog;
    Screen().PushCallback([&] {
        dialog.m_btnOk.EnableWindow(FALSE);
        EXPECT_FALSE(dialog.m_btnOk.IsWindowEnabled());
        dialog.m_btnOk.EnableWindow();
        EXPECT_TRUE(dialog.m_btnOk.IsWindowEnabled());
        dialog.m_btnOk.EnableWindow(FALSE);
    });
    Screen().PushKey(zov::Key::Enter);  // the default button is disabled: nothing happens
    Screen().PushCallback([&] { EXPECT_TRUE(::IsWindow(dialog.m_hWnd)); });
    Screen().PushKey(zov::Key::Escape);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(ControlWrappersTest, CaptionSetAtRunTimeIsShown) {
    ListDlg dialog;
    Screen().PushCallback([&] {
        dialog.SetWindowText("Removing Card3");
        CString caption;
        dialog.GetWindowText(caption);
        EXPECT_EQ(caption, "Removing Card3");
    });
    Screen().PushKey(zov::Key::Tab);  // lets the screen be drawn again
    Screen().PushCallback([&] {
        int x = 0;
        int y = 0;
        EXPECT_TRUE(Screen().Find("Removing Card3", &x, &y)) << Screen().Text();
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(ControlWrappersTest, IconsAreSetAndPaintedThroughTheWrappers) {
    ListDlg dialog;
    LPCSTR lpIconName = MAKEINTRESOURCEA(kIdiTest);  // NOLINT(performance-no-int-to-ptr)
    dialog.m_hIcon = ::LoadIconA(AfxGetResourceHandle(), lpIconName);
    ASSERT_NE(dialog.m_hIcon, nullptr);
    Screen().PushCallback([&] {
        EXPECT_EQ(dialog.SetIcon(dialog.m_hIcon, TRUE), nullptr);
        EXPECT_EQ(dialog.SetIcon(dialog.m_hIcon, FALSE), nullptr);
        EXPECT_EQ(dialog.SetIcon(dialog.m_hIcon, TRUE), dialog.m_hIcon) << "the previous icon";
        EXPECT_FALSE(dialog.IsIconic());
        RECT client{};
        dialog.GetClientRect(&client);
        EXPECT_GT(client.right, 0);
        EXPECT_GT(client.bottom, 0);
        const int paintsBefore = dialog.m_nPaints;
        dialog.SendMessage(WM_PAINT);
        EXPECT_EQ(dialog.m_nPaints, paintsBefore + 1);
        EXPECT_TRUE(dialog.m_bIconDrawn);
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(ControlWrappersTest, GetDlgItemGivesTheBoundObjectOrOneWrapper) {
    ListDlg dialog;
    Screen().PushCallback([&] {
        EXPECT_EQ(dialog.GetDlgItem(kIdcRows), &dialog.m_lstRows);
        CWnd* cancel = dialog.GetDlgItem(IDCANCEL);
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(dialog.GetDlgItem(IDCANCEL), cancel) << "one wrapper per window";
        EXPECT_EQ(cancel->GetDlgCtrlID(), IDCANCEL);
        EXPECT_EQ(cancel->GetParent(), &dialog);
        EXPECT_EQ(dialog.GetDlgItem(kIdcMissing), nullptr);
        EXPECT_EQ(dialog.m_lstRows.SetFocus() != nullptr, true);
        EXPECT_EQ(CWnd::GetFocus(), &dialog.m_lstRows);
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

}  // namespace
}  // namespace framework_test
