#include "tests/support/Pump.h"

#include "framework/Wnd.h"

#include <algorithm>

namespace qxrv::test {

void PumpPending(bool bPreTranslate) {
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) { // not ours to swallow: leave it for whoever asked to quit
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (bPreTranslate && CWnd::WalkPreTranslateTree(NULL, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void PumpFor(DWORD nMilliseconds, bool bPreTranslate) {
    PumpUntil([] { return false; }, nMilliseconds, bPreTranslate);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD nTimeoutMs, bool bPreTranslate) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpPending(bPreTranslate);
        if (condition())
            return true;
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= nTimeoutMs)
            return condition();
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, nTimeoutMs - elapsed, QS_ALLINPUT);
    }
}

bool WaitForScreen(const std::function<bool()>& shows, DWORD nTimeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpPending();
        if (shows())
            return true;
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= nTimeoutMs)
            return shows();
        // No message says the screen changed: look again soon, and at once when a message comes.
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, std::min<DWORD>(20, nTimeoutMs - elapsed), QS_ALLINPUT);
    }
}

} // namespace qxrv::test
