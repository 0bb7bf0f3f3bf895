// Message maps: which handler a command or message reaches, through the chain of base maps.
#include <gtest/gtest.h>

#include "platform/framework/c_dialog.h"
#include "test_resources.h"

namespace framework_test {
namespace {

class CountingDlg : public CDialog {
  public:
    CountingDlg() : CDialog(kIddButtons) {}

    int m_nFirst = 0;
    int m_nSecond = 0;
    int m_nPaint = 0;
    HICON m_hDragIcon = nullptr;

  protected:
    void OnFirst() { ++m_nFirst; }
    void OnSecond() { ++m_nSecond; }
    void OnPaint() { ++m_nPaint; }
    HICON OnQueryDragIcon() { return m_hDragIcon; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingDlg, CDialog)
ON_BN_CLICKED(kIdcFirstCommand, &CountingDlg::OnFirst)
ON_BN_CLICKED(kIdcSecondCommand, &CountingDlg::OnSecond)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

// Takes over the first button and inherits the second one's entry.
class DerivedDlg : public CountingDlg {
  public:
    int m_nDerivedFirst = 0;

  protected:
    void OnFirstInstead() { ++m_nDerivedFirst; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedDlg, CountingDlg)
ON_BN_CLICKED(kIdcFirstCommand, &DerivedDlg::OnFirstInstead)
END_MESSAGE_MAP()

// Counts the framework's OK and Cancel handling without an entry of its own.
class OkCountingDlg : public CDialog {
  public:
    OkCountingDlg() : CDialog(kIddButtons) {}
    int m_nOk = 0;
    int m_nCancel = 0;

  protected:
    void OnOK() override {
        ++m_nOk;
        CDialog::OnOK();
    }
    void OnCancel() override {
        ++m_nCancel;
        CDialog::OnCancel();
    }
};

// Its data exchange makes a control notify the dialog, as setting a control's state may.
class NotifyingExchangeDlg : public CountingDlg {
  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(kIdcFirstCommand, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, kIdcFirstCommand)));
        CountingDlg::DoDataExchange(pDX);
    }
};

LRESULT Click(const CWnd& dialog, int id) {
    return ::SendDlgItemMessageA(dialog.m_hWnd, id, BM_CLICK, 0, 0);
}

LRESULT Notify(const CWnd& dialog, int id, int code) {
    return ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(id, code),
                          reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, id)));
}

using MessageMapTest = FrameworkTest;

TEST_F(MessageMapTest, ClickRunsTheHandlerOfThatButtonOnly) {
    CountingDlg dialog;
    Screen().PushCallback([&] { Click(dialog, kIdcFirstCommand); });
    Screen().PushCallback([&] {
        EXPECT_EQ(dialog.m_nFirst, 1);
        EXPECT_EQ(dialog.m_nSecond, 0);
        Click(dialog, kIdcSecondCommand);
        Click(dialog, kIdcSecondCommand);
    });
    Screen().PushKey(zov::Key::Escape);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_nFirst, 1);
    EXPECT_EQ(dialog.m_nSecond, 2);
}

TEST_F(MessageMapTest, KeyboardPressOfAFocusedButtonReachesItsHandler) {
    CountingDlg dialog;
    Screen().PushCallback([&] { ::SetFocus(::GetDlgItem(dialog.m_hWnd, kIdcSecondCommand)); });
    Screen().PushKey(zov::Key::Enter);
    Screen().PushKey(zov::Key::Escape);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_nSecond, 1);
    EXPECT_EQ(dialog.m_nFirst, 0);
}

TEST_F(MessageMapTest, OtherNotificationCodesAreNotClicks) {
    CountingDlg dialog;
    Screen().PushCallback([&] {
        EXPECT_EQ(Notify(dialog, kIdcFirstCommand, LBN_SELCHANGE), FALSE);
        EXPECT_NE(Notify(dialog, kIdcFirstCommand, BN_CLICKED), FALSE);
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
    EXPECT_EQ(dialog.m_nFirst, 1);
}

TEST_F(MessageMapTest, NotificationsDuringDataExchangeAreNotDispatched) {
    NotifyingExchangeDlg dialog;
    Screen().PushCallback([&] {
        EXPECT_EQ(dialog.m_nFirst, 0) << "the exchange at initialisation ran the handler";
        dialog.UpdateData(TRUE);
        EXPECT_EQ(dialog.m_nFirst, 0) << "the exchange on request ran the handler";
        Click(dialog, kIdcFirstCommand);
        EXPECT_EQ(dialog.m_nFirst, 1) << "outside an exchange the click counts";
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(MessageMapTest, DerivedEntryWinsOverTheBaseEntryForTheSameButton) {
    DerivedDlg dialog;
    Screen().PushCallback([&] { Click(dialog, kIdcFirstCommand); });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
    EXPECT_EQ(dialog.m_nDerivedFirst, 1);
    EXPECT_EQ(dialog.m_nFirst, 0);
}

TEST_F(MessageMapTest, BaseMapAnswersWhatTheDerivedMapLacks) {
    DerivedDlg dialog;
    Screen().PushCallback([&] { Click(dialog, kIdcSecondCommand); });
    Screen().PushKey(zov::Key::Escape);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // IDCANCEL comes from CDialog's own map
    EXPECT_EQ(dialog.m_nSecond, 1);
}

TEST_F(MessageMapTest, OkAndCancelReachTheVirtualHandlers) {
    OkCountingDlg cancelled;
    Screen().PushKey(zov::Key::Escape);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.m_nCancel, 1);
    EXPECT_EQ(cancelled.m_nOk, 0);

    OkCountingDlg confirmed;
    Screen().PushKey(zov::Key::Enter);  // the default button is OK
    EXPECT_EQ(confirmed.DoModal(), IDOK);
    EXPECT_EQ(confirmed.m_nOk, 1);
    EXPECT_EQ(confirmed.m_nCancel, 0);
}

TEST_F(MessageMapTest, PaintAndDragIconEntries) {
    CountingDlg dialog;
    int marker = 0;
    dialog.m_hDragIcon = reinterpret_cast<HICON>(&marker);
    Screen().PushCallback([&] {
        const int paintsBefore = dialog.m_nPaint;
        ::SendMessageA(dialog.m_hWnd, WM_PAINT, 0, 0);
        EXPECT_EQ(dialog.m_nPaint, paintsBefore + 1);
        EXPECT_EQ(::SendMessageA(dialog.m_hWnd, WM_QUERYDRAGICON, 0, 0),
                  reinterpret_cast<LRESULT>(&marker));
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

TEST_F(MessageMapTest, MessagesWithoutEntryAreLeftToTheDialogManager) {
    OkCountingDlg dialog;
    CWnd* self = nullptr;
    Screen().PushCallback([&] {
        self = CWnd::FromHandlePermanent(dialog.m_hWnd);
        LRESULT result = 0;
        EXPECT_FALSE(dialog.OnWndMsg(WM_PAINT, 0, 0, &result));
        EXPECT_FALSE(
            dialog.OnWndMsg(WM_COMMAND, MAKEWPARAM(kIdcFirstCommand, BN_CLICKED), 0, &result));
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
    EXPECT_EQ(self, &dialog);
}

}  // namespace
}  // namespace framework_test
