#include "framework/MouseTracking.h"

#include <commctrl.h>

bool TrackHoverAndLeave(HWND hWnd) {
    TRACKMOUSEEVENT tme = {};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_HOVER | TME_LEAVE;
    tme.hwndTrack = hWnd;
    tme.dwHoverTime = 1;
    return ::_TrackMouseEvent(&tme) != FALSE;
}
