#include "ui/remove_card_dlg.h"

#include "platform/format.h"
#include "ui/res/resource.h"

BEGIN_MESSAGE_MAP(CRemoveCardDlg, CDialog)
END_MESSAGE_MAP()

CRemoveCardDlg::CRemoveCardDlg(CWnd* pParent) : CDialog(IDD_REMOVE_CARD, pParent) {}

void CRemoveCardDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BOOL CRemoveCardDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(zov::FormatText("Removing Card%d", m_nCardNumber).c_str());
    return TRUE;
}
