// Real pointer input for the tests: it goes through the system's input queue, so hit testing,
// cursors, hover tracking and the move and size loops see it as they would see a user's mouse.
#pragma once

#include "framework/Prelude.h"

namespace frame_test {

// Moves the pointer to the screen point (x, y), with button flags such as MOUSEEVENTF_LEFTDOWN.
inline void SendPointer(int x, int y, DWORD dwButtons = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((x * 65535LL) / (::GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = static_cast<LONG>((y * 65535LL) / (::GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | dwButtons;
    ::SendInput(1, &input, sizeof(input));
}

// A press and release of the left button at a screen point, with time between them as a hand takes: the
// window that gets it is the one the system finds under the pointer.
inline void ClickAt(POINT p) {
    SendPointer(p.x, p.y);
    ::Sleep(60);
    SendPointer(p.x, p.y, MOUSEEVENTF_LEFTDOWN);
    ::Sleep(60);
    SendPointer(p.x, p.y, MOUSEEVENTF_LEFTUP);
}

} // namespace frame_test
