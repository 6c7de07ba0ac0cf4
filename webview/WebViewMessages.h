// The private messages a web view posts to the launcher's windows.
//
// Both messages carry a CString allocated with new in wParam; the receiver owns it once it has claimed it
// with ClaimPostedString (webview/PostedString.h). Plain numbers above WM_USER, always posted, never sent.
#pragma once

#include "framework/Prelude.h"

#include "res/resource.h" // ID_POPUP_BROWSER, the control ID of a view's hidden pop-up browser

// A page asked to open a game link. Posted to the main window; lParam is the posting view's control ID.
constexpr UINT WM_OPEN_GAME_URL = 0x14FA;
// A view's top-level document has finished loading. Posted to the view's parent; lParam is 0.
constexpr UINT WM_PAGE_LOADED = 0x172E;
