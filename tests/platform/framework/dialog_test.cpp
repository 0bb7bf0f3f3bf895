// CDialog: modal runs, their owner and result.
#include <gtest/gtest.h>

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

  protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kIdcMissing, m_strText); }
    CString m_strText;
};

using DialogTest = FrameworkTest;

TEST_F(DialogTest, ResultIsTheEndDialogCodeOrMinusOneWhenTheDialogCannotStart) {
    CodeDlg dialog;
    Screen().PushCallback([&] { ::SetFocus(::GetDlgItem(dialog.m_hWnd, kIdcFirstCommand)); });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.m_hWnd, nullptr);

    PlainDlg missing_template(777);
    EXPECT_EQ(missing_template.DoModal(), -1);
    MismatchedDlg failed_exchange;
    EXPECT_EQ(failed_exchange.DoModal(), -1);
}

// A parent given to the constructor owns the dialog. (Without one the active window does: the
// properties dialog finds the card list so, tests/ui/properties_scenario_test.cpp.)
TEST_F(DialogTest, ParentGivenOwnsTheDialog) {
    PlainDlg outer;
    PlainDlg child(kIddButtons, &outer);
    Screen().PushCallback([&] {
        EXPECT_EQ(outer.GetOwner(), nullptr) << "a top-level dialog has no owner";
        EXPECT_EQ(child.DoModal(), IDCANCEL);
    });
    Screen().PushCallback([&] { EXPECT_EQ(child.GetOwner(), &outer); });
    Screen().PushKey(zov::Key::Escape);  // ends the child dialog
    Screen().PushKey(zov::Key::Escape);  // ends the outer dialog
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
}

}  // namespace
}  // namespace framework_test
