// Data exchange between a dialog's members and its controls, both ways, and the length check.
#include <gtest/gtest.h>

#include <string>

#include "platform/framework/c_combo_box.h"
#include "platform/framework/c_dialog.h"
#include "platform/framework/c_win_app.h"
#include "platform/framework/data_exchange.h"
#include "test_resources.h"

namespace framework_test {
namespace {

class ExchangeDlg : public CDialog {
  public:
    ExchangeDlg() : CDialog(kIddExchange) {}

    CComboBox m_cbPorts;
    CString m_strPort = "COM13";
    int m_nSpeed = 1;
    int m_nBus = 0;
    CString m_strName;
    int m_nMaxName = 3;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, kIdcPorts, m_cbPorts);
        DDX_CBString(pDX, kIdcPorts, m_strPort);
        DDX_Radio(pDX, kIdcSpeed4, m_nSpeed);
        DDX_Radio(pDX, kIdcBusIsa, m_nBus);
        DDX_Text(pDX, kIdcName, m_strName);
        DDV_MaxChars(pDX, m_strName, m_nMaxName);
    }
};

UINT Checked(const CDialog& dialog, int id) {
    return ::IsDlgButtonChecked(dialog.m_hWnd, id);
}

CString Text(const CDialog& dialog, int id) {
    CString text;
    CWnd::FromHandle(::GetDlgItem(dialog.m_hWnd, id))->GetWindowText(text);
    return text;
}

using DataExchangeTest = FrameworkTest;

TEST_F(DataExchangeTest, ComboTextSelectsTheFirstEntryItBegins) {
    ExchangeDlg dialog;
    Screen().PushCallback([&] {
        // COM13 comes before COM130 in the list.
        EXPECT_EQ(dialog.m_cbPorts.GetCurSel(), 12);
        EXPECT_EQ(Text(dialog, kIdcPorts), "COM13");
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(DataExchangeTest, ComboTextIsMatchedWithoutRegardToCase) {
    ExchangeDlg dialog;
    dialog.m_strPort = "com2";
    Screen().PushCallback([&] { EXPECT_EQ(dialog.m_cbPorts.GetCurSel(), 1); });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strPort, "COM2") << "reading back gives the entry's own spelling";
}

TEST_F(DataExchangeTest, ComboTextWithoutEntryLeavesNothingSelected) {
    ExchangeDlg dialog;
    dialog.m_strPort = "LPT1";
    Screen().PushCallback([&] { EXPECT_EQ(dialog.m_cbPorts.GetCurSel(), CB_ERR); });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strPort, "");
}

TEST_F(DataExchangeTest, ComboSelectionIsReadBackOnOk) {
    ExchangeDlg dialog;
    Screen().PushCallback([&] { dialog.m_cbPorts.SetCurSel(40); });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strPort, "COM41");
}

TEST_F(DataExchangeTest, RadioIndexChecksOneButtonOfItsGroup) {
    ExchangeDlg dialog;
    dialog.m_nSpeed = 2;
    dialog.m_nBus = 1;
    Screen().PushCallback([&] {
        EXPECT_EQ(Checked(dialog, kIdcSpeed4), BST_UNCHECKED);
        EXPECT_EQ(Checked(dialog, kIdcSpeed8), BST_UNCHECKED);
        EXPECT_EQ(Checked(dialog, kIdcSpeed16), BST_CHECKED);
        EXPECT_EQ(Checked(dialog, kIdcBusIsa), BST_UNCHECKED);
        EXPECT_EQ(Checked(dialog, kIdcBusPci), BST_CHECKED);
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(DataExchangeTest, RadioIndexMinusOneClearsTheGroup) {
    ExchangeDlg dialog;
    dialog.m_nSpeed = -1;
    Screen().PushCallback([&] {
        EXPECT_EQ(Checked(dialog, kIdcSpeed4), BST_UNCHECKED);
        EXPECT_EQ(Checked(dialog, kIdcSpeed8), BST_UNCHECKED);
        EXPECT_EQ(Checked(dialog, kIdcSpeed16), BST_UNCHECKED);
        EXPECT_EQ(Checked(dialog, kIdcBusIsa), BST_CHECKED) << "the next group is its own";
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(DataExchangeTest, RadioReadBackGivesTheCheckedIndex) {
    ExchangeDlg dialog;
    Screen().PushCallback([&] {
        ::CheckRadioButton(dialog.m_hWnd, kIdcSpeed4, kIdcSpeed16, kIdcSpeed4);
        ::CheckRadioButton(dialog.m_hWnd, kIdcBusIsa, kIdcBusPci, kIdcBusPci);
    });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nSpeed, 0);
    EXPECT_EQ(dialog.m_nBus, 1);
}

TEST_F(DataExchangeTest, RadioReadBackWithNoneCheckedGivesMinusOne) {
    ExchangeDlg dialog;
    Screen().PushCallback([&] {
        for (int id : {kIdcSpeed4, kIdcSpeed8, kIdcSpeed16}) {
            ::CheckDlgButton(dialog.m_hWnd, id, BST_UNCHECKED);
        }
    });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nSpeed, -1);
    EXPECT_EQ(dialog.m_nBus, 0);
}

TEST_F(DataExchangeTest, TextGoesBothWays) {
    ExchangeDlg dialog;
    dialog.m_strName = "ab";
    Screen().PushCallback([&] {
        EXPECT_EQ(Text(dialog, kIdcName), "ab");
        ::SetDlgItemTextA(dialog.m_hWnd, kIdcName, "xyz");
    });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strName, "xyz");
}

TEST_F(DataExchangeTest, MaxCharsLimitsTheEdit) {
    ExchangeDlg dialog;
    Screen().PushCallback([&] {
        EXPECT_EQ(::SendDlgItemMessageA(dialog.m_hWnd, kIdcName, EM_GETLIMITTEXT, 0, 0), 3);
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(DataExchangeTest, TooLongTextIsRefusedAndTheDialogStaysOpen) {
    CWinApp app;
    app.SetAppNameFromPath("/opt/zov/bin/cardtool");
    ExchangeDlg dialog;
    Screen().PushCallback([&] { ::SetDlgItemTextA(dialog.m_hWnd, kIdcName, "abcd"); });
    Screen().PushKey(zov::Key::Enter);  // OK: the check refuses the text
    Screen().PushCallback([&] {
        int x = 0;
        int y = 0;
        EXPECT_TRUE(Screen().Find("Please enter no more than 3 characters.", &x, &y))
            << Screen().Text();
        EXPECT_TRUE(Screen().Find("cardtool", &x, &y)) << "the caption is the title";
    });
    Screen().PushKey(zov::Key::Enter);  // closes the message
    Screen().PushCallback([&] {
        ASSERT_TRUE(::IsWindow(dialog.m_hWnd)) << "the dialog must stay open";
        HWND hWndName = ::GetDlgItem(dialog.m_hWnd, kIdcName);
        EXPECT_EQ(::GetFocus(), hWndName);
        DWORD start = 99;
        DWORD end = 99;
        ::SendMessageA(hWndName, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0U);
        EXPECT_EQ(end, 4U);
    });
    Screen().PushKey(zov::Key::Escape);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DataExchangeTest, TextWithinTheLimitIsAccepted) {
    ExchangeDlg dialog;
    Screen().PushCallback([&] { ::SetDlgItemTextA(dialog.m_hWnd, kIdcName, "abc"); });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strName, "abc");
}

TEST_F(DataExchangeTest, ControlObjectStandsForItsControlWhileTheDialogRuns) {
    ExchangeDlg dialog;
    Screen().PushCallback([&] {
        HWND hWndPorts = ::GetDlgItem(dialog.m_hWnd, kIdcPorts);
        EXPECT_EQ(dialog.m_cbPorts.m_hWnd, hWndPorts);
        EXPECT_EQ(CWnd::FromHandle(hWndPorts), &dialog.m_cbPorts);
        // A second exchange keeps the binding instead of failing on it.
        EXPECT_TRUE(dialog.UpdateData(FALSE));
        EXPECT_EQ(dialog.m_cbPorts.m_hWnd, hWndPorts);
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
    EXPECT_EQ(dialog.m_cbPorts.m_hWnd, nullptr);
}

}  // namespace
}  // namespace framework_test
