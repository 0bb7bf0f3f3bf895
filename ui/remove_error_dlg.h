// The notice that says there is no card to remove.
#pragma once

#include "platform/framework/afxwin.h"

class CRemoveErrorDlg : public CDialog {
  public:
    explicit CRemoveErrorDlg(CWnd* pParent = nullptr);
    ~CRemoveErrorDlg() override = default;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
