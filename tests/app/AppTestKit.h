// Helpers for driving the launcher's windows the way a user would: from another thread or process, through
// window handles, posted clicks, message boxes and the pixels on the screen.
#pragma once

#include "framework/Prelude.h"

#include "tests/support/LauncherWindows.h"
#include "tests/support/ScreenPixels.h"
#include "tests/support/WindowRects.h"

#include <functional>
#include <string>
#include <vector>

namespace qxrv::test {

// The window's own visibility (WS_VISIBLE), whether or not its parent shows.
bool Shown(HWND hwnd);

// Polls (without pumping: for driver threads) until condition() holds or nTimeoutMs has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD nTimeoutMs = 5000);

// Clicks a button the way the mouse does: its window comes to the front, then left button down and up at its
// centre, posted.
void PostClick(HWND hwndButton);
// The notification a button sends its parent when it is clicked, posted to the parent. Between processes this
// is the dependable way: Wine without a window manager may move the focus of two programs between press and
// release.
void PostButtonClicked(HWND hwndButton);
// Alt+F4 as the keyboard sends it to the window with the focus.
void PostAltF4(HWND hwnd);

// A message box as a driver found it.
struct SeenMessageBox {
    HWND hwnd = NULL;
    HWND owner = NULL;
    std::wstring caption;
    std::wstring text;
    HICON icon = NULL;  // the icon it shows (meaningful in this process only)
    bool yesNo = false; // it offers exactly Yes and No
};

// Waits for a message box with this caption in process processId (0: this one), notes what it shows and
// answers it with nAnswer (IDYES, IDNO), then waits until it has gone. False when none came in time.
bool AnswerMessageBox(LPCWSTR caption, int nAnswer, SeenMessageBox* pSeen = nullptr, DWORD nTimeoutMs = 5000,
                      DWORD processId = 0);

} // namespace qxrv::test
