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

CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
