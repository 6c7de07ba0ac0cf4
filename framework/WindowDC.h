// Scoped device contexts of a window: each takes the DC in its constructor and gives it back in its
// destructor.
#pragma once

#include "framework/Prelude.h"

#include "framework/Gdi.h"
#include "framework/Wnd.h"

// BeginPaint/EndPaint for WM_PAINT. Throws CResourceException when painting cannot begin.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};

// GetDC/ReleaseDC: the client area. Throws CResourceException when the DC cannot be had.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};
