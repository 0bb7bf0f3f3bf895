// Message maps: which handler a command or message reaches, through the chain of base maps. (IDOK
// reaching an OnOK override: the settings dialog in tests/ui/add_card_scenario_test.cpp.)
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
    int m_nCancel = 0;

  protected:
    void OnFirst() { ++m_nFirst; }
    void OnSecond() { ++m_nSecond; }
    void OnCancel() override {
        ++m_nCancel;
        CDialog::OnCancel();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingDlg, CDialog)
ON_BN_CLICKED(kIdcFirstCommand, &CountingDlg::OnFirst)
ON_BN_CLICKED(kIdcSecondCommand, &CountingDlg::OnSecond)
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

// Its data exchange makes a control notify the dialog, as setting a control's state may.
class NotifyingExchangeDlg : public CountingDlg {
  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(kIdcFirstCommand, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, kIdcFirstCommand)));
        CountingDlg::DoDataExchange(pDX);
    }
};

LRESULT Notify(const CWnd& dialog, int id, int code) {
    return ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(id, code),
                          reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, id)));
}

using MessageMapTest = FrameworkTest;

TEST_F(MessageMapTest, EachEntryReachesItsOwnHandlerOnly) {
    CountingDlg dialog;
    Screen().PushCallback([&] {
        EXPECT_EQ(Notify(dialog, kIdcFirstCommand, LBN_SELCHANGE), FALSE) << "not a click";
        ::SendDlgItemMessageA(dialog.m_hWnd, kIdcSecondCommand, BM_CLICK, 0, 0);
        EXPECT_EQ(dialog.m_nFirst, 0);
        EXPECT_EQ(dialog.m_nSecond, 1);
    });
    Screen().PushKey(zov::Key::Escape);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_nCancel, 1);
}

TEST_F(MessageMapTest, DerivedEntryWinsAndTheBaseMapsAnswerTheRest) {
    DerivedDlg dialog;
    Screen().PushCallback([&] {
        EXPECT_NE(Notify(dialog, kIdcFirstCommand, BN_CLICKED), FALSE);
        EXPECT_NE(Notify(dialog, kIdcSecondCommand, BN_CLICKED), FALSE);
    });
    Screen().PushKey(zov::Key::Escape);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // IDCANCEL comes from CDialog's own map
    EXPECT_EQ(dialog.m_nDerivedFirst, 1);
    EXPECT_EQ(dialog.m_nFirst, 0);
    EXPECT_EQ(dialog.m_nSecond, 1);
}

TEST_F(MessageMapTest, NotificationsDuringDataExchangeAreNotDispatched) {
    NotifyingExchangeDlg dialog;
    Screen().PushCallback([&] {
        EXPECT_EQ(dialog.m_nFirst, 0) << "the exchange at initialisation ran the handler";
        dialog.UpdateData(TRUE);
        EXPECT_EQ(dialog.m_nFirst, 0) << "the exchange on request ran the handler";
        Notify(dialog, kIdcFirstCommand, BN_CLICKED);
        EXPECT_EQ(dialog.m_nFirst, 1) << "outside an exchange the click counts";
    });
    Screen().PushKey(zov::Key::Escape);
    dialog.DoModal();
}

}  // namespace
}  // namespace framework_test
