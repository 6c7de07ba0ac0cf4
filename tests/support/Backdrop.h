// A plain window under the windows a test looks at.
#pragma once

#include "framework/Prelude.h"

#include <functional>
#include <vector>

namespace qxrv::test {

// A plain top-level pop-up filled with one colour, to show what lies beneath a see-through pixel and to count
// the clicks that reach it.
class CBackdrop {
public:
    // Shown at once, without taking the activation when dwExStyle has WS_EX_NOACTIVATE.
    CBackdrop(const RECT& screenRect, COLORREF colour, DWORD dwExStyle = 0);
    ~CBackdrop();
    CBackdrop(const CBackdrop&) = delete;
    CBackdrop& operator=(const CBackdrop&) = delete;

    HWND m_hWnd;
    COLORREF m_colour;
    int m_nClicks = 0;
    // Log of WM_CLOSE and the WM_COMMAND notifications from its children, in arrival order.
    std::vector<UINT> m_messages;
    std::vector<WORD> m_clickedIds; // BN_CLICKED control IDs
    // When set, WM_CLOSE destroys the window.
    bool m_bDestroyOnClose = false;
    // Called with each message of the log as it comes, before it is answered.
    std::function<void(UINT)> m_onMessage;
};

// The whole desktop, every monitor, as the system reports it: a backdrop there lies under whatever a test
// shows, on a screen of any size.
RECT WholeScreen();

} // namespace qxrv::test
