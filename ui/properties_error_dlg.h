// The notice that says there is no card whose properties could be shown.
#pragma once

#include "platform/framework/afxwin.h"

class CPropertiesErrorDlg : public CDialog {
  public:
    explicit CPropertiesErrorDlg(CWnd* pParent = nullptr);
    ~CPropertiesErrorDlg() override = default;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
