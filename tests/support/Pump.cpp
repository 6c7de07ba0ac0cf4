#include "tests/support/Pump.h"

#include "framework/Wnd.h"

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

} // namespace qxrv::test
