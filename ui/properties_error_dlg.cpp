#include "ui/properties_error_dlg.h"

#include "ui/res/resource.h"

BEGIN_MESSAGE_MAP(CPropertiesErrorDlg, CDialog)
END_MESSAGE_MAP()

CPropertiesErrorDlg::CPropertiesErrorDlg(CWnd* pParent) : CDialog(IDD_PROPERTIES_ERROR, pParent) {}

void CPropertiesErrorDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}
