#include "ui/remove_error_dlg.h"

#include "ui/res/resource.h"

BEGIN_MESSAGE_MAP(CRemoveErrorDlg, CDialog)
END_MESSAGE_MAP()

CRemoveErrorDlg::CRemoveErrorDlg(CWnd* pParent) : CDialog(IDD_REMOVE_ERROR, pParent) {}

void CRemoveErrorDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}
