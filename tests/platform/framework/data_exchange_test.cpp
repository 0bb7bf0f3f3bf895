// Data exchange between a dialog's members and its controls, both ways.
// (The length check is run by the properties dialog's tests.)
#include <gtest/gtest.h>

#include "platform/framework/c_combo_box.h"
#include "platform/framework/c_dialog.h"
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

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, kIdcPorts, m_cbPorts);
        DDX_CBString(pDX, kIdcPorts, m_strPort);
        DDX_Radio(pDX, kIdcSpeed4, m_nSpeed);
        DDX_Radio(pDX, kIdcBusIsa, m_nBus);
    }
};

using DataExchangeTest = FrameworkTest;

TEST_F(DataExchangeTest, ComboTextSelectsTheFirstEntryItBeginsAndReadsItBack) {
    const struct {
        const char* text;
        int selection;
        const char* read_back;
    } kCases[] = {{"COM13", 12, "COM13"},  // COM13 comes before COM130 in the list
                  {"com2", 1, "COM2"},
                  {"LPT1", CB_ERR, ""}};
    for (const auto& row : kCases) {
        ExchangeDlg dialog;
        dialog.m_strPort = row.text;
        Screen().PushCallback([&] { EXPECT_EQ(dialog.m_cbPorts.GetCurSel(), row.selection); });
        Screen().PushKey(zov::Key::Enter);
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.m_strPort, row.read_back) << row.text;
    }
}

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
