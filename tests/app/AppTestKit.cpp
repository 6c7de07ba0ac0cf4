#include "tests/app/AppTestKit.h"

namespace qxrv::test {

bool Shown(HWND hwnd) {
    return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD nTimeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > nTimeoutMs)
            return condition();
        Sleep(10);
    }
    return true;
}

void PostClick(HWND hwndButton) {
    RECT rc = {};
    GetClientRect(hwndButton, &rc);
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    if (GetWindowThreadProcessId(hwndButton, NULL) == GetCurrentThreadId()) {
        // The caller pumps its own messages afterwards; there is nobody to wait for.
        PostMessageW(hwndButton, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(hwndButton, WM_LBUTTONUP, 0, at);
        return;
    }
    // As with a real click, the window comes to the front first. It must have settled there: a change of
    // focus between press and release makes the button drop the press.
    const HWND root = GetAncestor(hwndButton, GA_ROOT);
    if (GetForegroundWindow() != root) {
        SetForegroundWindow(root);
        WaitUntil([&] { return GetForegroundWindow() == root; }, 2000);
        Sleep(50);
    }
    PostMessageW(hwndButton, WM_LBUTTONDOWN, MK_LBUTTON, at);
    WaitUntil([&] { return (SendMessageW(hwndButton, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }, 2000);
    PostMessageW(hwndButton, WM_LBUTTONUP, 0, at);
}

void PostButtonClicked(HWND hwndButton) {
    PostMessageW(GetParent(hwndButton), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwndButton), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwndButton));
}

void PostAltF4(HWND hwnd) {
    // Context code (bit 29) set: Alt is down.
    PostMessageW(hwnd, WM_SYSKEYDOWN, VK_F4, 0x20000001);
    PostMessageW(hwnd, WM_SYSKEYUP, VK_F4, static_cast<LPARAM>(0xE0000001u));
}

namespace {

struct BoxContents {
    SeenMessageBox* pSeen;
    int buttons = 0;
    int others = 0; // children that no message box has
    bool yes = false;
    bool no = false;
};

BOOL CALLBACK ReadBoxChild(HWND hwnd, LPARAM lParam) {
    auto* pBox = reinterpret_cast<BoxContents*>(lParam);
    const std::wstring cls = WindowClassOf(hwnd);
    if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        if ((GetWindowLongW(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            pBox->pSeen->icon = reinterpret_cast<HICON>(SendMessageW(hwnd, STM_GETICON, 0, 0));
        else if (!WindowTextOf(hwnd).empty())
            pBox->pSeen->text = WindowTextOf(hwnd);
    } else if (_wcsicmp(cls.c_str(), L"Button") == 0 && IsWindowVisible(hwnd)) {
        ++pBox->buttons;
        pBox->yes = pBox->yes || GetDlgCtrlID(hwnd) == IDYES;
        pBox->no = pBox->no || GetDlgCtrlID(hwnd) == IDNO;
    } else if (_wcsicmp(cls.c_str(), L"Button") != 0) {
        ++pBox->others;
    }
    return TRUE;
}

// A message box: a dialog with a text, and otherwise only an icon and push buttons. (The launcher's windows
// are dialogs with the same title, but none of them has a static text.)
bool IsMessageBox(HWND hwnd, SeenMessageBox* pSeen) {
    if (WindowClassOf(hwnd) != L"#32770" || !IsWindowVisible(hwnd))
        return false;
    SeenMessageBox seen;
    BoxContents contents = {&seen};
    EnumChildWindows(hwnd, ReadBoxChild, reinterpret_cast<LPARAM>(&contents));
    if (contents.others != 0 || contents.buttons == 0 || seen.text.empty())
        return false;
    seen.hwnd = hwnd;
    seen.owner = GetWindow(hwnd, GW_OWNER);
    seen.caption = WindowTextOf(hwnd);
    seen.yesNo = contents.buttons == 2 && contents.yes && contents.no;
    *pSeen = seen;
    return true;
}

} // namespace

bool AnswerMessageBox(LPCWSTR caption, int nAnswer, SeenMessageBox* pSeen, DWORD nTimeoutMs,
                      DWORD processId) {
    SeenMessageBox seen;
    const bool found = WaitUntil(
        [&] {
            for (HWND hwnd : TopLevelWindows(processId)) {
                if (WindowTextOf(hwnd) == caption && IsMessageBox(hwnd, &seen))
                    return true;
            }
            return false;
        },
        nTimeoutMs);
    if (!found)
        return false;
    if (pSeen != nullptr)
        *pSeen = seen;
    PostMessageW(seen.hwnd, WM_COMMAND, MAKEWPARAM(nAnswer, BN_CLICKED), 0);
    // Answered once it is gone, so a later question is never mistaken for this one.
    return WaitUntil([&] { return !IsWindow(seen.hwnd); }, nTimeoutMs);
}

} // namespace qxrv::test
