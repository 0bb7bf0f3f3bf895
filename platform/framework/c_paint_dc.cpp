#include "platform/framework/c_paint_dc.h"

#include "platform/framework/c_wnd.h"

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    if (m_hDC != nullptr) {
        ::EndPaint(m_hWnd, &m_ps);
    }
}
