// Acts on the launcher's own thread for a test driver that runs on another thread or in another process.
//
// Wine's browser control cannot show a page, so nobody can click a link in it. On request the agent navigates
// one of the launcher's web views to a URL instead, so the view's navigation rules run exactly as for a
// click. It can also end a modal dialog, so a failed test never leaves the loop running. Requests are
// registered window messages, which work across processes.
#pragma once

#include "framework/Prelude.h"

namespace qxrv::test {

// Posted to a dialog that holds a web view: wParam is the view's control ID, lParam the number n of the link,
// whose URL is read from the environment variable QXRV_LINK_<n> when the request is handled.
UINT FollowLinkMessage();
// Posted to a dialog running modally: ends it with wParam as the result.
UINT EndModalMessage();

// Installs the agent on the calling thread, which must be the one that runs the launcher's windows.
void InstallUiAgent();
void RemoveUiAgent();

// Sets link n to url in this process's environment and asks hwndDialog to follow it in its view nViewID.
void FollowLink(HWND hwndDialog, UINT nViewID, int n, const wchar_t* url);

} // namespace qxrv::test
