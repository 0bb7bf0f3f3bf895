// The dialog in which the user describes a new card: bus type, number of ports, first COM port
// and, for an ISA card, its base address and interrupt.
#pragma once

#include "platform/framework/afxwin.h"

class CCardSettingsDlg : public CDialog {
  public:
    explicit CCardSettingsDlg(CWnd* pParent = nullptr);
    ~CCardSettingsDlg() override = default;

    CComboBox m_cbIrq;
    CComboBox m_cbBaseAddress;
    CButton m_btnDone;
    CString m_strStartingPort;
    int m_nPortCount;  // 0: 4 ports, 1: 8 ports, 2: 16 ports
    int m_nBusType;    // 0: ISA, 1: PCI

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Checks and writes the card; the dialog stays open when the card was not added.
    void OnOK() override;
    // Back to the defaults of an ISA card, whatever was chosen before.
    void OnRadioIsa();
    // A PCI card has no base address or interrupt of its own to choose.
    void OnRadioPci();

    DECLARE_MESSAGE_MAP()
};
