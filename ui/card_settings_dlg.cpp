#include "ui/card_settings_dlg.h"

#include "store/card_globals.h"
#include "store/new_card_commit.h"
#include "ui/res/resource.h"

namespace {

// "200" in the base-address list and "5" in the interrupt list.
constexpr int kDefaultBaseAddressIndex = 16;
constexpr int kDefaultIrqIndex = 3;

}  // namespace

BEGIN_MESSAGE_MAP(CCardSettingsDlg, CDialog)
ON_BN_CLICKED(IDC_BUS_ISA, &CCardSettingsDlg::OnRadioIsa)
ON_BN_CLICKED(IDC_BUS_PCI, &CCardSettingsDlg::OnRadioPci)
END_MESSAGE_MAP()

CCardSettingsDlg::CCardSettingsDlg(CWnd* pParent)
    : CDialog(IDD_CARD_SETTINGS, pParent),
      m_strStartingPort("COM13"),
      m_nPortCount(1),
      m_nBusType(0) {}

void CCardSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_IRQ, m_cbIrq);
    DDX_Control(pDX, IDC_BASE_ADDRESS, m_cbBaseAddress);
    DDX_Control(pDX, IDOK, m_btnDone);
    DDX_CBString(pDX, IDC_STARTING_PORT, m_strStartingPort);
    DDX_Radio(pDX, IDC_PORTS_4, m_nPortCount);
    DDX_Radio(pDX, IDC_BUS_ISA, m_nBusType);
}

BOOL CCardSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!g_bIsAdmin) {
        m_btnDone.EnableWindow(FALSE);
    }
    m_cbBaseAddress.SetCurSel(kDefaultBaseAddressIndex);
    m_cbIrq.SetCurSel(kDefaultIrqIndex);
    return TRUE;
}

void CCardSettingsDlg::OnRadioIsa() {
    m_cbBaseAddress.SetCurSel(kDefaultBaseAddressIndex);
    m_cbIrq.SetCurSel(kDefaultIrqIndex);
    m_cbBaseAddress.EnableWindow(TRUE);
    m_cbIrq.EnableWindow(TRUE);
}

void CCardSettingsDlg::OnRadioPci() {
    m_cbBaseAddress.SetCurSel(-1);
    m_cbBaseAddress.EnableWindow(FALSE);
    m_cbIrq.SetCurSel(-1);
    m_cbIrq.EnableWindow(FALSE);
}

void CCardSettingsDlg::OnOK() {
    UpdateData(TRUE);
    CString baseAddress;
    CString irq;
    if (m_nBusType == 0) {
        m_cbBaseAddress.GetLBText(m_cbBaseAddress.GetCurSel(), baseAddress);
        m_cbIrq.GetLBText(m_cbIrq.GetCurSel(), irq);
    }
    if (!CommitNewCard(m_hWnd, m_strStartingPort, m_nPortCount, m_nBusType, baseAddress, irq)) {
        return;
    }
    CDialog::OnOK();
}
