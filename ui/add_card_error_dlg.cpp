#include "ui/add_card_error_dlg.h"

#include "ui/res/resource.h"

BEGIN_MESSAGE_MAP(CAddCardErrorDlg, CDialog)
END_MESSAGE_MAP()

CAddCardErrorDlg::CAddCardErrorDlg(CWnd* pParent) : CDialog(IDD_ADD_CARD_ERROR, pParent) {}

void CAddCardErrorDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}
