// Strings that a web view hands to a window through a posted message.
//
// wParam of WM_OPEN_GAME_URL and WM_PAGE_LOADED is a CString pointer, and any process on the desktop can
// post those messages with any wParam. So the sender registers every string it posts, and a receiver takes
// only a string that is registered for that message and not yet claimed. An unknown wParam is never read
// and never freed.
//
// Receivers:
//     std::unique_ptr<CString> pUrl = ClaimPostedString(WM_PAGE_LOADED, wParam);
//     if (!pUrl)
//         return 0;  // not ours, or already claimed
//     ... use *pUrl; it is deleted when pUrl goes out of scope ...
#pragma once

#include "framework/Prelude.h"
#include "framework/String.h"

#include <memory>

// Posts message to hWnd with the string as wParam. On success the string waits for its receiver's claim (or
// is deleted once hWnd is gone with the message unread); when posting fails it is deleted here. Returns
// whether the message was posted.
BOOL PostOwnedString(HWND hWnd, UINT message, std::unique_ptr<CString> pString, LPARAM lParam);

// Takes a string that this process posted with message and nobody has claimed yet; nullptr for any other
// wParam. The caller owns the result.
std::unique_ptr<CString> ClaimPostedString(UINT message, WPARAM wParam);

// How many posted strings wait for their claim, their receivers still alive (for leak checks).
size_t OutstandingPostedStrings();
