#include "tests/webview/WebViewTestKit.h"

#include "res/resource.h"
#include "webview/PostedString.h"

#include <gtest/gtest.h>

namespace qxrv::test {

namespace {

// The framework's current application, so that AfxGetMainWnd has somewhere to look.
CWinApp g_app(L"QXRVWebViewTests");

// Logs the messages a web view posts, claiming strings as the launcher's receivers do.
void Log(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_OPEN_GAME_URL || message == WM_PAGE_LOADED) {
        std::unique_ptr<CString> pText = ClaimPostedString(message, wParam);
        ReceivedLog().push_back({hWnd, message, wParam, lParam, pText != nullptr,
                                 pText ? std::wstring(pText->GetString()) : std::wstring()});
    } else if (message == WM_COMMAND || message == WM_CONTEXTMENU) {
        ReceivedLog().push_back({hWnd, message, wParam, lParam, false, std::wstring()});
    }
}

} // namespace

std::vector<Received>& ReceivedLog() {
    static std::vector<Received> log;
    return log;
}

std::vector<Received> ReceivedOf(UINT message) {
    std::vector<Received> result;
    for (const Received& r : ReceivedLog()) {
        if (r.message == message)
            result.push_back(r);
    }
    return result;
}

CLogMainWnd::CLogMainWnd() {
    CreateEx(0, NULL, L"main", WS_POPUP, 0, 0, 10, 10, NULL, NULL);
    AfxGetApp()->m_pMainWnd = this;
}

CLogMainWnd::~CLogMainWnd() {
    if (AfxGetApp()->m_pMainWnd == this)
        AfxGetApp()->m_pMainWnd = NULL;
    DestroyWindow();
}

LRESULT CLogMainWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    Log(m_hWnd, message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

CHostDialog::CHostDialog() : CDialog(IDD_START_PAGE) {}

BOOL CHostDialog::Open() {
    return Create(IDD_START_PAGE);
}

LRESULT CHostDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    Log(m_hWnd, message, wParam, lParam);
    if (message == WM_COMMAND)
        return 0; // test command IDs mean nothing to the dialog
    return CDialog::WindowProc(message, wParam, lParam);
}

void CTestHtmlCtrl::OnAppUrl(LPCWSTR lpszWhere) {
    appUrls.push_back(lpszWhere ? lpszWhere : L"(null)");
    CHtmlCtrl::OnAppUrl(lpszWhere);
}

LRESULT CTestHtmlCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CONTEXTMENU)
        ++contextMenus;
    if (message == WM_ERASEBKGND) {
        ++erases;
        RECT browser = {};
        ::GetWindowRect(GetBrowserWindow(), &browser);
        HRGN drawn = ::CreateRectRgn(0, 0, 0, 0);
        HRGN overlap = ::CreateRectRgnIndirect(&browser);
        // The DC's system region: where on the screen its drawing lands, in screen coordinates.
        if (::GetRandomRgn(reinterpret_cast<HDC>(wParam), drawn, SYSRGN) == 1 &&
            ::CombineRgn(overlap, overlap, drawn, RGN_AND) != NULLREGION)
            ++erasesOverBrowser;
        ::DeleteObject(overlap);
        ::DeleteObject(drawn);
    }
    return CHtmlCtrl::WindowProc(message, wParam, lParam);
}

} // namespace qxrv::test
