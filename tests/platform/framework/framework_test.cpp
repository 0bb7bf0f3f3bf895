// The framework on the dialog manager tests' in-memory screen, with small templates of its own as
// the resource module. CDialog: modal runs, their owner and result; message maps, which handler a
// command or message reaches through the chain of base maps; data exchange between a dialog's
// members and its controls, both ways. The application object: its title, the order of its
// overridables and the exit code. (IDOK reaching an OnOK override: the settings dialog in
// tests/ui/add_card_scenario_test.cpp. The length check is run by the properties dialog's tests; a
// drop-down list's text, by the settings dialog's in tests/ui and tests/integrity/ui. A failed
// InitApplication and the exit code of a run that ends in InitInstance: tests/integrity/ui. The
// framework message box and a start without a terminal are run by the utility's tests.)
#include <gtest/gtest.h>

#include <string>

#include "dialog_harness.h"
#include "platform/framework/afx_message_box.h"
#include "platform/framework/afx_win_main.h"
#include "platform/framework/c_dialog.h"
#include "platform/framework/c_win_app.h"
#include "platform/framework/data_exchange.h"
#include "platform/framework/resource_handle.h"

namespace framework_test {
namespace {

constexpr int kIddButtons = 500;   // OK, Cancel and two command buttons
constexpr int kIddExchange = 501;  // two radio groups

constexpr int kIdcFirstCommand = 600;
constexpr int kIdcSecondCommand = 601;
constexpr int kIdcSpeed4 = 620;  // first group: 620, 621, 622
constexpr int kIdcSpeed8 = 621;
constexpr int kIdcSpeed16 = 622;
constexpr int kIdcBusIsa = 630;  // second group: 630, 631
constexpr int kIdcBusPci = 631;
constexpr int kIdcMissing = 699;  // in no template

class FrameworkTest : public ::testing::Test {
  protected:
    FrameworkTest() {
        using namespace zov::test;
        const auto ok = PushButtonAt(IDOK, "OK", 10, 95, BS_DEFPUSHBUTTON | WS_GROUP);
        const auto cancel = PushButtonAt(IDCANCEL, "Cancel", 70, 95);
        constexpr DWORD kFirstInGroup = WS_GROUP | WS_TABSTOP;
        // OK and Cancel in front, so that OK has the focus when the dialog starts.
        harness_.Add(DialogOf(kIddButtons, "Buttons", 240, 120,
                              {ok, cancel, PushButtonAt(kIdcFirstCommand, "&First", 10, 10),
                               PushButtonAt(kIdcSecondCommand, "&Second", 70, 10)},
                              WS_SYSMENU));
        harness_.Add(DialogOf(
            kIddExchange, "Exchange", 240, 120,
            {RadioAt(kIdcSpeed4, "4", 100, 10, 30, kFirstInGroup),
             RadioAt(kIdcSpeed8, "8", 100, 22, 30), RadioAt(kIdcSpeed16, "16", 100, 34, 30),
             // Neither a radio button nor the start of a group: the first group goes on.
             GroupBoxAt("Bus", 140, 5, 80, 40),
             RadioAt(kIdcBusIsa, "ISA", 150, 15, 30, kFirstInGroup),
             RadioAt(kIdcBusPci, "PCI", 150, 27, 30), ok, cancel},
            WS_SYSMENU));
        AfxSetResourceHandle(harness_.Module());
    }
    void TearDown() override {
        EXPECT_FALSE(Screen().RanDry()) << "a dialog was still open when the input ran out";
        AfxSetResourceHandle(nullptr);
    }

    zov::MemoryTerminal& Screen() { return harness_.screen; }

    zov::test::DialogHarness harness_;
};

LRESULT Notify(const CWnd& dialog, int id, int code) {
    return ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(id, code),
                          reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, id)));
}

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
        Notify(*this, kIdcFirstCommand, BN_CLICKED);
        CountingDlg::DoDataExchange(pDX);
    }
};

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

using DialogTest = FrameworkTest;

TEST_F(DialogTest, ResultIsTheEndDialogCodeOrMinusOneWhenTheDialogCannotStart) {
    CodeDlg dialog;
    Screen().PushCallback([&] { ::SetFocus(::GetDlgItem(dialog.m_hWnd, kIdcFirstCommand)); });
    Screen().PushKey(zov::Key::Enter);
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.m_hWnd, nullptr);

    CDialog missing_template(777);
    EXPECT_EQ(missing_template.DoModal(), -1);
    MismatchedDlg failed_exchange;
    EXPECT_EQ(failed_exchange.DoModal(), -1);
}

// A parent given to the constructor owns the dialog. (Without one the active window does: the
// properties dialog finds the card list so, tests/ui/properties_scenario_test.cpp.)
TEST_F(DialogTest, ParentGivenOwnsTheDialog) {
    CDialog outer(kIddButtons);
    CDialog child(kIddButtons, &outer);
    Screen().PushCallback([&] {
        EXPECT_EQ(outer.GetOwner(), nullptr) << "a top-level dialog has no owner";
        EXPECT_EQ(child.DoModal(), IDCANCEL);
    });
    Screen().PushCallback([&] { EXPECT_EQ(child.GetOwner(), &outer); });
    Screen().PushKey(zov::Key::Escape);  // ends the child dialog
    Screen().PushKey(zov::Key::Escape);  // ends the outer dialog
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
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

// Records the overridables as they run and returns what the test asks for.
class RecordingApp : public CWinApp {
  public:
    std::string m_calls;  // the initial of each overridable run, in order (C: CheckCommandLine)
    BOOL m_bAcceptCommandLine = TRUE;
    int m_nExitCode = 0;

    BOOL Record(char call, BOOL result) {
        m_calls += call;
        return result;
    }
    BOOL CheckCommandLine(int argc, char** /*argv*/, int& nExitCode) override {
        nExitCode = 5;
        return Record(argc == 2 ? 'C' : '?', m_bAcceptCommandLine);
    }
    BOOL InitApplication() override { return Record('A', TRUE); }
    BOOL InitInstance() override { return Record('I', TRUE); }
    int Run() override { return Record('R', TRUE) ? CWinApp::Run() : 0; }
    int ExitInstance() override { return CWinApp::ExitInstance(), Record('E', m_nExitCode); }
};

TEST(AppTitle, IsTheExecutableNameWithoutDirectoryOrExtension) {
    for (const char* path : {"/usr/local/bin/zovcfg", "zovcfg", "./build.d/zovcfg.exe"}) {
        CWinApp app;
        app.SetAppNameFromPath(path);
        EXPECT_STREQ(app.m_pszAppName, "zovcfg") << path;
        EXPECT_STREQ(AfxGetAppName(), "zovcfg") << path;
    }
}

using AppRunTest = FrameworkTest;

TEST_F(AppRunTest, HooksRunInOrderAndTheExitCodeComesFromWhereTheRunEnded) {
    const struct {
        BOOL accept_command_line;
        int exit_code;
        const char* calls;
    } kCases[] = {
        {TRUE, 7, "CAIRE"}, {FALSE, 5, "C"},  // a refused command line gives its own code
    };
    std::string program = "/usr/bin/zovcfg";
    std::string option = "--help";
    char* argv[] = {program.data(), option.data(), nullptr};
    for (const auto& row : kCases) {
        RecordingApp app;
        app.m_bAcceptCommandLine = row.accept_command_line;
        app.m_nExitCode = row.exit_code;
        EXPECT_EQ(AfxWinMainOnTerminal(Screen(), 2, argv, harness_.Module()), row.exit_code);
        EXPECT_EQ(app.m_calls, row.calls);
    }
}

}  // namespace
}  // namespace framework_test
