// Data exchange between a dialog's members and its controls, both ways.
// (The length check is run by the properties dialog's tests; a drop-down list's text, by the
// settings dialog's in tests/ui and tests/integrity/ui.)
#include <gtest/gtest.h>

#include "platform/framework/c_dialog.h"
#include "platform/framework/data_exchange.h"
#include "test_resources.h"

namespace framework_test {
namespace {

class ExchangeDlg : public CDialog {
  public:
    ExchangeDlg() : CDialog(kIddExchange) {}

    int m_nSpeed = 1;
    int m_nBus = 0;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Radio(pDX, kIdcSpeed4, m_nSpeed);
        DDX_Radio(pDX, kIdcBusIsa, m_nBus);
    }
};

using DataExchangeTest = FrameworkTest;

TEST_F(DataExchangeTest, RadioIndexGoesBothWaysWithMinusOneForNone) {
    for (int speed : {-1, 0, 2}) {
        ExchangeDlg dialog;
        dialog.m_nSpeed = speed;
        dialog.m_nBus = 1;
        Screen().PushCallback([&] {
            for (int index = 0; index < 3; ++index) {
                EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, kIdcSpeed4 + index),
                          index == speed ? BST_CHECKED : BST_UNCHECKED)
                    << "speed " << speed << " button " << index;
            }
            EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, kIdcBusPci), BST_CHECKED);
            ::CheckRadioButton(dialog.m_hWnd, kIdcBusIsa, kIdcBusPci, kIdcBusIsa);
            if (speed >= 0) {
                ::CheckDlgButton(dialog.m_hWnd, kIdcSpeed4 + speed, BST_UNCHECKED);
            } else {
                ::CheckRadioButton(dialog.m_hWnd, kIdcSpeed4, kIdcSpeed16, kIdcSpeed8);
            }
        });
        Screen().PushKey(zov::Key::Enter);
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.m_nSpeed, speed < 0 ? 1 : -1);
        EXPECT_EQ(dialog.m_nBus, 0);
    }
}

}  // namespace
}  // namespace framework_test
