// A read-only view of what the registry holds for one card.
#pragma once

#include "platform/framework/afxwin.h"

class CCardPropertiesDlg : public CDialog {
  public:
    explicit CCardPropertiesDlg(CWnd* pParent = nullptr);
    ~CCardPropertiesDlg() override = default;

    CEdit m_editPciSlot;
    CEdit m_editPciBus;
    CString m_strCardNumber;
    CString m_strBaseAddress;
    CString m_strIrq;
    CString m_strPortCount;
    CString m_strPciBus;
    CString m_strPciSlot;
    CString m_strStartingPort;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Reads the card of the owner's m_chCurrentCard and fills the fields.
    BOOL OnInitDialog() override;
};
