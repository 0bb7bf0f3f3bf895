// CWnd: a C++ object over a window handle of the dialog manager, with the message map that
// routes the window's messages to member functions.
//
// A window's object is "permanent" once attached (a dialog while it runs, a control bound with
// DDX_Control): FromHandle then returns that very object, so a dialog can reach its owner's
// members. For any other handle FromHandle returns a wrapper that the framework keeps until the
// window is gone.
#pragma once

#include "platform/dialog/resource.h"
#include "platform/framework/c_string.h"
#include "platform/framework/message_map.h"
#include "platform/win32.h"

class CWnd {
  public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }

    // Makes this the permanent object of hWnd. Fails (FALSE) when this object already has a window
    // or hWnd is not a window or already has a permanent object.
    BOOL Attach(HWND hWnd);
    // Ends the link to the window and returns its handle.
    HWND Detach();

    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Drops the wrappers of windows that no longer exist.
    static void DeleteTempMap();
    // Detaches the permanent objects of windows that no longer exist.
    static void DetachDeadWindows();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    void SetWindowText(LPCSTR lpszString);
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    DWORD GetStyle() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    void GetClientRect(LPRECT lpRect) const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    static CWnd* GetActiveWindow();
    // The window that owns this one: for a modal dialog, the window that was active when it
    // started. The permanent object when it has one.
    CWnd* GetOwner() const;
    CWnd* GetParent() const;

    // The template this window was created from, for windows that have one (dialogs).
    virtual const zov::DialogTemplate* GetDialogTemplate() const { return nullptr; }

    // Routes one message through the message map. Returns TRUE when an entry handled it, with
    // the message's result in *pResult.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A WM_COMMAND: looks up (code, id) in the message map.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

  protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Default painting: validates the window; the dialog manager draws the controls itself.
    void OnPaint();
    HICON OnQueryDragIcon() { return nullptr; }

  private:
    const AFX_MSGMAP_ENTRY* FindEntry(UINT message, UINT code, UINT id) const;
};
