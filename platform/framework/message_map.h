// Message maps: static tables that route window messages to member functions, searched from the
// most derived class towards CWnd.
//
//   class CMyDlg : public CDialog {
//       ...
//       void OnAdd();
//       DECLARE_MESSAGE_MAP()
//   };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_BN_CLICKED(IDC_ADD, &CMyDlg::OnAdd)
//       ON_WM_PAINT()
//   END_MESSAGE_MAP()
#pragma once

#include "platform/win32.h"

class CWnd;

using AFX_PMSG = void (CWnd::*)();
using AFX_PMSG_ICON = HICON (CWnd::*)();

// How an entry's handler is called and what the window procedure returns for it.
enum class AfxSig {
    End,       // the end of a table
    VoidVoid,  // void Handler(); the message counts as handled
    IconVoid,  // HICON Handler(); the icon is the message's result
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND, WM_PAINT, ...
    UINT nCode;     // the notification code of a WM_COMMAND (BN_CLICKED), else 0
    UINT nID;       // the control id of a WM_COMMAND, else 0
    AfxSig nSig;
    AFX_PMSG pfn;
    AFX_PMSG_ICON pfnIcon;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root of the chain
    const AFX_MSGMAP_ENTRY* lpEntries;     // ends with an AfxSig::End entry
};

// clang-format off
#define DECLARE_MESSAGE_MAP()                          \
  protected:                                           \
    static const AFX_MSGMAP* GetThisMessageMap();      \
    const AFX_MSGMAP* GetMessageMap() const override;  \
                                                       \
  private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                   \
        using ThisClass [[maybe_unused]] = theClass;                                    \
        using TheBaseClass = baseClass;                                                 \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                               \
            {0, 0, 0, AfxSig::End, nullptr, nullptr}                                    \
        };                                                                              \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,         \
                                              &messageEntries[0]};                      \
        return &messageMap;                                                             \
    }

// A command from a control or from the dialog manager (IDOK, IDCANCEL): notification code 0.
#define ON_COMMAND(id, memberFxn)                                                       \
    {WM_COMMAND, 0, static_cast<UINT>(static_cast<WORD>(id)), AfxSig::VoidVoid,         \
     static_cast<AFX_PMSG>(memberFxn), nullptr},

// A click of a button; memberFxn is written &CMyDlg::OnSomething.
#define ON_BN_CLICKED(id, memberFxn)                                                    \
    {WM_COMMAND, static_cast<UINT>(BN_CLICKED), static_cast<UINT>(static_cast<WORD>(id)), \
     AfxSig::VoidVoid, static_cast<AFX_PMSG>(memberFxn), nullptr},

// The class's own OnPaint, for WM_PAINT.
#define ON_WM_PAINT()                                                                   \
    {WM_PAINT, 0, 0, AfxSig::VoidVoid, static_cast<AFX_PMSG>(&ThisClass::OnPaint), nullptr},

// The class's own OnQueryDragIcon, whose icon is the result of WM_QUERYDRAGICON.
#define ON_WM_QUERYDRAGICON()                                                           \
    {WM_QUERYDRAGICON, 0, 0, AfxSig::IconVoid, nullptr,                                 \
     static_cast<AFX_PMSG_ICON>(&ThisClass::OnQueryDragIcon)},
// clang-format on
