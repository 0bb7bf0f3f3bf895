// The notice that says the card limit is reached.
#pragma once

#include "platform/framework/afxwin.h"

class CAddCardErrorDlg : public CDialog {
  public:
    explicit CAddCardErrorDlg(CWnd* pParent = nullptr);
    ~CAddCardErrorDlg() override = default;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
