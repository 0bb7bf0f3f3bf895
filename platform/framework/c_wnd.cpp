#include "platform/framework/c_wnd.h"

#include <map>
#include <memory>
#include <vector>

namespace {

// Windows whose C++ object is known: the dialogs that run and the controls bound to members.
std::map<HWND, CWnd*>& PermanentMap() {
    static std::map<HWND, CWnd*> map;
    return map;
}

// Wrappers made on demand for other windows, kept until their window is gone.
std::map<HWND, std::unique_ptr<CWnd>>& TemporaryMap() {
    static std::map<HWND, std::unique_ptr<CWnd>> map;
    return map;
}

}  // namespace

CWnd::~CWnd() {
    if (m_hWnd != nullptr) {
        Detach();
    }
}

BOOL CWnd::Attach(HWND hWnd) {
    if (m_hWnd != nullptr || hWnd == nullptr || !::IsWindow(hWnd) ||
        PermanentMap().count(hWnd) != 0) {
        return FALSE;
    }
    // A wrapper handed out earlier for the same window gives way to the real object.
    TemporaryMap().erase(hWnd);
    PermanentMap()[hWnd] = this;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        auto it = PermanentMap().find(hWnd);
        if (it != PermanentMap().end() && it->second == this) {
            PermanentMap().erase(it);
        }
    }
    m_hWnd = nullptr;
    return hWnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    if (CWnd* permanent = FromHandlePermanent(hWnd)) {
        return permanent;
    }
    auto& temporary = TemporaryMap()[hWnd];
    if (!temporary) {
        temporary = std::make_unique<CWnd>();
        temporary->m_hWnd = hWnd;
    }
    return temporary.get();
}

namespace {

// Drops the entries of windows that no longer exist, detaching their objects.
template <typename HandleMap>
void ForgetDeadWindows(HandleMap& map) {
    std::erase_if(map, [](auto& entry) {
        if (::IsWindow(entry.first)) {
            return false;
        }
        entry.second->m_hWnd = nullptr;
        return true;
    });
}

}  // namespace

void CWnd::DeleteTempMap() {
    ForgetDeadWindows(TemporaryMap());
}

void CWnd::DetachDeadWindows() {
    ForgetDeadWindows(PermanentMap());
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

void CWnd::SetWindowText(LPCSTR lpszString) {
    ::SetWindowTextA(m_hWnd, lpszString);
}

void CWnd::GetWindowText(CString& rString) const {
    rString.clear();
    const int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) {
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
    rString.assign(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0U);
}

int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLengthA(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    const LRESULT previous =
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    return reinterpret_cast<HICON>(previous);  // NOLINT(performance-no-int-to-ptr)
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}

CWnd* CWnd::GetActiveWindow() {
    return FromHandle(::GetActiveWindow());
}

CWnd* CWnd::GetOwner() const {
    return FromHandle(::GetWindow(m_hWnd, GW_OWNER));
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, AfxSig::End, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CWnd::FindEntry(UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig::End; ++entry) {
            if (entry->nMessage == message && entry->nCode == code && entry->nID == id) {
                return entry;
            }
        }
    }
    return nullptr;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_COMMAND, HIWORD(wParam), LOWORD(wParam));
    if (entry == nullptr || entry->pfn == nullptr) {
        return FALSE;
    }
    (this->*entry->pfn)();
    return TRUE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    *pResult = 0;
    if (message == WM_COMMAND) {
        return OnCommand(wParam, lParam);
    }
    const AFX_MSGMAP_ENTRY* entry = FindEntry(message, 0, 0);
    if (entry == nullptr) {
        return FALSE;
    }
    switch (entry->nSig) {
        case AfxSig::VoidVoid:
            (this->*entry->pfn)();
            return TRUE;
        case AfxSig::IconVoid:
            *pResult = reinterpret_cast<LRESULT>((this->*entry->pfnIcon)());
            return TRUE;
        case AfxSig::End:
            break;
    }
    return FALSE;
}

void CWnd::OnPaint() {
    PAINTSTRUCT paint{};
    ::BeginPaint(m_hWnd, &paint);
    ::EndPaint(m_hWnd, &paint);
}
