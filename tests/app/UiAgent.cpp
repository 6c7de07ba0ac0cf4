#include "tests/app/UiAgent.h"

#include "framework/Dialog.h"
#include "framework/HtmlView.h"

#include <string>

namespace qxrv::test {

namespace {

HHOOK g_hook = NULL;

std::wstring LinkVariable(int n) {
    return L"QXRV_LINK_" + std::to_wstring(n);
}

void Follow(HWND hwndDialog, UINT nViewID, int n) {
    wchar_t url[4096];
    const DWORD length = GetEnvironmentVariableW(LinkVariable(n).c_str(), url, ARRAYSIZE(url));
    if (length == 0 || length >= ARRAYSIZE(url))
        return;
    CWnd* pView = CWnd::FromHandlePermanent(GetDlgItem(hwndDialog, static_cast<int>(nViewID)));
    if (pView != NULL && pView->IsKindOf(RUNTIME_CLASS(CHtmlView)))
        static_cast<CHtmlView*>(pView)->Navigate2(url);
}

void EndModal(HWND hwndDialog, int nResult) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hwndDialog);
    if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CDialog)))
        static_cast<CDialog*>(pWnd)->EndDialog(nResult);
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    MSG* pMsg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE &&
        (pMsg->message == FollowLinkMessage() || pMsg->message == EndModalMessage())) {
        const MSG request = *pMsg;
        // Used up here: the window itself never sees the request.
        pMsg->message = WM_NULL;
        if (request.message == FollowLinkMessage())
            Follow(request.hwnd, static_cast<UINT>(request.wParam), static_cast<int>(request.lParam));
        else
            EndModal(request.hwnd, static_cast<int>(request.wParam));
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

} // namespace

UINT FollowLinkMessage() {
    static const UINT message = RegisterWindowMessageW(L"QXRV.Test.FollowLink");
    return message;
}

UINT EndModalMessage() {
    static const UINT message = RegisterWindowMessageW(L"QXRV.Test.EndModal");
    return message;
}

void InstallUiAgent() {
    if (g_hook == NULL)
        g_hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, NULL, GetCurrentThreadId());
}

void RemoveUiAgent() {
    if (g_hook != NULL)
        UnhookWindowsHookEx(g_hook);
    g_hook = NULL;
}

void FollowLink(HWND hwndDialog, UINT nViewID, int n, const wchar_t* url) {
    SetEnvironmentVariableW(LinkVariable(n).c_str(), url);
    PostMessageW(hwndDialog, FollowLinkMessage(), nViewID, n);
}

} // namespace qxrv::test
