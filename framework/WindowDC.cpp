#include "framework/WindowDC.h"

#include "framework/Exceptions.h"

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps(), m_hWnd(pWnd ? pWnd->m_hWnd : NULL) {
    HDC hDC = m_hWnd ? ::BeginPaint(m_hWnd, &m_ps) : NULL;
    if (!hDC)
        AfxThrowResourceException();
    AttachBorrowed(hDC);
}

CPaintDC::~CPaintDC() {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

// NULL for pWnd gives the screen's DC, as GetDC(NULL) does.
CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : NULL) {
    HDC hDC = ::GetDC(m_hWnd);
    if (!hDC)
        AfxThrowResourceException();
    AttachBorrowed(hDC);
}

CClientDC::CClientDC(HWND hWnd, const std::nothrow_t&) : m_hWnd(hWnd) {
    if (HDC hDC = ::GetDC(m_hWnd))
        AttachBorrowed(hDC);
}

CClientDC::~CClientDC() {
    if (HDC hDC = Detach())
        ::ReleaseDC(m_hWnd, hDC);
}
