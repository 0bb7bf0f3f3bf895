// CDialog: modal runs, their owner and result, initialisation, OK and Cancel.
#include <gtest/gtest.h>

#include "platform/framework/c_combo_box.h"
#include "platform/framework/c_dialog.h"
#include "platform/framework/data_exchange.h"
#include "test_resources.h"

namespace framework_test {
namespace {

class PlainDlg : public CDialog {
  public:
    explicit PlainDlg(UINT nIDTemplate = kIddButtons, CWnd* pParent = nullptr)
        : CDialog(nIDTemplate, pParent) {}
};

// Ends with a code of its own from a command button.
class CodeDlg : public CDialog {
  public:
    CodeDlg() : CDialog(kIddButtons) {}

  protected:
    void OnFirst() { EndDialog(42); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CodeDlg, CDialog)
ON_BN_CLICKED(kIdcFirstCommand, &CodeDlg::OnFirst)
END_MESSAGE_MAP()

// Its data exchange names a control the template does not have.
class MismatchedDlg : public CDialog {
  public:
    MismatchedDlg() : CDialog(kIddButtons) {}
    bool m_bInitialised = false;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Text(pDX, kIdcMissing, m_strText);
    }
    BOOL OnInitDialog() override {
        const BOOL result = CDialog::OnInitDialog();
        m_bInitialised = result != FALSE;
        return result;
    }
    CString m_strText;
};

class ListDlg : public CDialog {
  public:
    ListDlg() : CDialog(kIddExchange) {}
    CComboBox m_cbPorts;

  protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kIdcPorts, m_cbPorts); }
};

using DialogTest = FrameworkTest;

TEST_F(DialogTest, EscapeEndsWithCancelAndEnterWithOk) {
    PlainDlg cancelled;
    Screen().PushKey(zov::Key::Escape);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);

    PlainDlg confirmed;
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(confirmed.DoModal(), IDOK);
}

TEST_F(DialogTest, EndDialogCodeIsTheResult) {
    CodeDlg dialog;
    Screen().PushCallback([&] { ::SetFocus(::GetDlgItem(dialog.m_hWnd, kIdcFirstCommand)); });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(dialog.DoModal(), 42);
}

TEST_F(DialogTest, MissingTemplateGivesMinusOne) {
    PlainDlg dialog(777);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogTest, FailedInitialExchangeGivesMinusOne) {
    MismatchedDlg dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.m_bInitialised);
}

TEST_F(DialogTest, WindowIsAttachedOnlyWhileTheDialogRuns) {
    PlainDlg dialog;
    HWND hWndSeen = nullptr;
    Screen().PushCallback([&] {
        hWndSeen = dialog.m_hWnd;
        ASSERT_NE(hWndSeen, nullptr);
        EXPECT_EQ(CWnd::FromHandle(hWndSeen), &dialog);
        EXPECT_EQ(CWnd::GetActiveWindow(), &dialog);
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWndSeen), nullptr);
}

TEST_F(DialogTest, DialogWithoutParentIsOwnedByTheActiveWindow) {
    PlainDlg outer;
    PlainDlg inner;
    Screen().PushCallback([&] { EXPECT_EQ(inner.DoModal(), IDOK); });
    Screen().PushCallback([&] {
        EXPECT_EQ(::GetWindow(inner.m_hWnd, GW_OWNER), outer.m_hWnd);
        EXPECT_EQ(inner.GetOwner(), &outer);
        EXPECT_FALSE(::IsWindowEnabled(outer.m_hWnd)) << "the owner must wait for the dialog";
    });
    Screen().PushKey(zov::Key::Enter);  // ends the inner dialog
    Screen().PushCallback([&] { EXPECT_TRUE(::IsWindowEnabled(outer.m_hWnd)); });
    Screen().PushKey(zov::Key::Escape);  // ends the outer dialog
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, ExplicitParentIsTheOwner) {
    PlainDlg outer;
    PlainDlg inner(kIddButtons, &outer);
    Screen().PushCallback([&] { inner.DoModal(); });
    Screen().PushCallback([&] { EXPECT_EQ(inner.GetOwner(), &outer); });
    Screen().PushKey(zov::Key::Escape);
    Screen().PushKey(zov::Key::Escape);
    outer.DoModal();
}

TEST_F(DialogTest, TopLevelDialogHasNoOwner) {
    PlainDlg dialog;
    Screen().PushCallback([&] { EXPECT_EQ(dialog.GetOwner(), nullptr); });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(DialogTest, InitDataFillsTheListsInResourceOrder) {
    ListDlg dialog;
    Screen().PushCallback([&] {
        ASSERT_NE(dialog.m_cbPorts.m_hWnd, nullptr);
        EXPECT_EQ(dialog.m_cbPorts.GetCount(), 132);
        CString text;
        dialog.m_cbPorts.GetLBText(0, text);
        EXPECT_EQ(text, "COM1");
        dialog.m_cbPorts.GetLBText(12, text);
        EXPECT_EQ(text, "COM13");
        dialog.m_cbPorts.GetLBText(131, text);
        EXPECT_EQ(text, "COM132");
        dialog.m_cbPorts.GetLBText(132, text);
        EXPECT_EQ(text, "") << "an index past the end gives no text";
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
    EXPECT_EQ(dialog.m_cbPorts.m_hWnd, nullptr) << "controls are released when the dialog ends";
}

TEST_F(DialogTest, ADialogCanRunAgainAfterItEnded) {
    ListDlg dialog;
    Screen().PushKey(zov::Key::Escape);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    Screen().PushCallback([&] { EXPECT_EQ(dialog.m_cbPorts.GetCount(), 132); });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

}  // namespace
}  // namespace framework_test
