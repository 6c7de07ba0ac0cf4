// Hover and leave notifications for a control that changes its look while the pointer rests on it.
#pragma once

#include "framework/Prelude.h"

// Asks the common controls for WM_MOUSEHOVER as soon as the pointer has rested on hWnd for 1 ms, and for
// WM_MOUSELEAVE when it leaves. The request ends with the leave, so a caller asks once per visit of the
// pointer. Returns whether the request took; a caller whose request failed asks again at the next move.
bool TrackHoverAndLeave(HWND hWnd);
