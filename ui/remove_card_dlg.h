// The question the Remove command asks before it removes a card.
#pragma once

#include "platform/framework/afxwin.h"

class CRemoveCardDlg : public CDialog {
  public:
    explicit CRemoveCardDlg(CWnd* pParent = nullptr);
    ~CRemoveCardDlg() override = default;

    // The card the question is about; set before the dialog runs.
    void SetCardNumber(int nCardNumber) { m_nCardNumber = nCardNumber; }

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Names the card in the caption: "Removing Card3".
    BOOL OnInitDialog() override;

    int m_nCardNumber = 0;

    DECLARE_MESSAGE_MAP()
};
