// CDialog: a modal dialog on a template of the resource module, with its data exchange.
#pragma once

#include "platform/framework/c_data_exchange.h"
#include "platform/framework/c_wnd.h"

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override = default;

    // Runs the dialog until it ends. Without a parent window, the window that is active when it
    // starts becomes its owner. The end code, or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();

    // Sends the template's list entries to their controls in resource order, then writes the
    // members to the controls. Ends the dialog with -1 if either fails.
    virtual BOOL OnInitDialog();

    // Moves data between members and controls; FALSE when a validation refused a value.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    void EndDialog(int nResult);

    const zov::DialogTemplate* GetDialogTemplate() const override;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  protected:
    // Reads the controls back and, when every value is accepted, ends the dialog with IDOK.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL.
    virtual void OnCancel();
    // The DDX_/DDV_ calls of the dialog; the base exchanges nothing.
    virtual void DoDataExchange(CDataExchange* pDX);

    // Sends the template's initialisation data to the controls; FALSE when a control refused
    // an entry.
    BOOL ExecuteDlgInit();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

  private:
    static INT_PTR DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static const zov::ResourceModule* Resources();
};
