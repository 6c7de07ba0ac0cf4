#include "tests/support/Backdrop.h"

#include "tests/support/Pump.h"

namespace qxrv::test {

namespace {

const wchar_t kBackdropClass[] = L"QXRVTestBackdrop";

LRESULT CALLBACK BackdropProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CBackdrop* self = reinterpret_cast<CBackdrop*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE:
        ::SetWindowLongPtrW(
            hWnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_ERASEBKGND: {
        RECT rect;
        ::GetClientRect(hWnd, &rect);
        HBRUSH hBrush = ::CreateSolidBrush(self->m_colour);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rect, hBrush);
        ::DeleteObject(hBrush);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        ++self->m_nClicks;
        return 0;
    case WM_COMMAND:
        self->m_messages.push_back(message);
        if (HIWORD(wParam) == BN_CLICKED)
            self->m_clickedIds.push_back(LOWORD(wParam));
        if (self->m_onMessage)
            self->m_onMessage(message);
        return 0;
    case WM_CLOSE:
        self->m_messages.push_back(message);
        if (self->m_onMessage)
            self->m_onMessage(message);
        if (self->m_bDestroyOnClose)
            ::DestroyWindow(hWnd);
        return 0;
    case WM_NCDESTROY:
        if (self != nullptr)
            self->m_hWnd = NULL;
        break;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

} // namespace

CBackdrop::CBackdrop(const RECT& screenRect, COLORREF colour, DWORD dwExStyle)
    : m_hWnd(NULL), m_colour(colour) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BackdropProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.hCursor = ::LoadCursorW(NULL, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.lpszClassName = kBackdropClass;
    ::RegisterClassW(&wc); // fails harmlessly once the class exists
    m_hWnd = ::CreateWindowExW(dwExStyle, kBackdropClass, L"backdrop", WS_POPUP | WS_VISIBLE, screenRect.left,
                               screenRect.top, screenRect.right - screenRect.left,
                               screenRect.bottom - screenRect.top, NULL, NULL, wc.hInstance, this);
    ::UpdateWindow(m_hWnd);
    PumpFor(30);
}

CBackdrop::~CBackdrop() {
    if (m_hWnd != NULL)
        ::DestroyWindow(m_hWnd);
}

RECT WholeScreen() {
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN), y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

} // namespace qxrv::test
