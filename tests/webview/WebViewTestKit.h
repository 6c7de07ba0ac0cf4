// Shared pieces of the web view tests: windows that log what the web view posts to them
// (claiming strings the way the launcher's windows do), and a view that records its "app:" commands.
#pragma once

#include "framework/Prelude.h"

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "webview/HtmlCtrl.h"

#include "tests/support/HeapUse.h"
#include "tests/support/Pump.h"

#include <string>
#include <vector>

namespace qxrv::test {

// One message that reached a logging window. For the two string messages, text is the claimed string and
// claimed tells whether the claim succeeded.
struct Received {
    HWND to;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool claimed;
    std::wstring text;
};
std::vector<Received>& ReceivedLog();
// The logged messages of one kind, in arrival order.
std::vector<Received> ReceivedOf(UINT message);

// A hidden top-level window that stands in for the launcher's main window (AfxGetMainWnd) while it lives.
class CLogMainWnd : public CWnd {
public:
    CLogMainWnd();
    ~CLogMainWnd() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A modeless dialog from the start page's template, whose static item IDC_START_PAGE is a placeholder.
class CHostDialog : public CDialog {
public:
    CHostDialog();
    BOOL Open();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A web view that records its "app:" commands, the WM_CONTEXTMENU messages its window gets, and its
// background erases.
class CTestHtmlCtrl : public CHtmlCtrl {
public:
    std::vector<std::wstring> appUrls;
    int contextMenus = 0;
    int erases = 0;
    // Erases whose drawing region on the screen overlapped the browser's window.
    int erasesOverBrowser = 0;

protected:
    void OnAppUrl(LPCWSTR lpszWhere) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace qxrv::test
