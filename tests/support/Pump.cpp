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

namespace {

// Pumps until condition() holds or nTimeoutMs has passed, looking at it again whenever a message comes and,
// with nPollMs, at least that often.
bool PumpUntilPolling(const std::function<bool()>& condition, DWORD nTimeoutMs, bool bPreTranslate,
                      DWORD nPollMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpPending(bPreTranslate);
        if (condition())
            return true;
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= nTimeoutMs)
            return condition();
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, std::min(nPollMs, nTimeoutMs - elapsed), QS_ALLINPUT);
    }
}

} // namespace

bool PumpUntil(const std::function<bool()>& condition, DWORD nTimeoutMs, bool bPreTranslate) {
    return PumpUntilPolling(condition, nTimeoutMs, bPreTranslate, INFINITE);
}

bool WaitForScreen(const std::function<bool()>& shows, DWORD nTimeoutMs) {
    // No message says the screen changed: look again every few milliseconds as well.
    return PumpUntilPolling(shows, nTimeoutMs, false, 20);
}

} // namespace qxrv::test
