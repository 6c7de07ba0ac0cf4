// Scoped device contexts of a window: each takes the DC in its constructor and gives it back in its
// destructor.
#pragma once

#include "framework/Prelude.h"

#include "framework/Gdi.h"
#include "framework/Wnd.h"

#include <new>

// BeginPaint/EndPaint for WM_PAINT. Throws CResourceException when painting cannot begin.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};

// GetDC/ReleaseDC: the client area of a window, or the screen for no window.
class CClientDC : public CDC {
public:
    // Throws CResourceException when the DC cannot be had.
    explicit CClientDC(CWnd* pWnd);
    // Does not throw: holds no DC (GetSafeHdc() is NULL) when the system gives none, for code that goes on
    // without one, or must not throw.
    CClientDC(HWND hWnd, const std::nothrow_t&);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};
