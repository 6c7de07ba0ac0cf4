#include "tests/support/LauncherWindows.h"

#include "app/LauncherText.h"
#include "res/resource.h"

namespace qxrv::test {

namespace {

struct WindowsOf {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lParam) {
    auto* pWanted = reinterpret_cast<WindowsOf*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == pWanted->processId)
        pWanted->found.push_back(hwnd);
    return TRUE;
}

} // namespace

std::vector<HWND> TopLevelWindows(DWORD processId) {
    WindowsOf wanted = {processId ? processId : ::GetCurrentProcessId(), {}};
    ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&wanted));
    return wanted.found;
}

std::wstring WindowTextOf(HWND hwnd) {
    wchar_t text[512] = {};
    ::GetWindowTextW(hwnd, text, ARRAYSIZE(text));
    return text;
}

std::wstring WindowClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, ARRAYSIZE(name));
    return name;
}

LauncherWindows FindLauncherWindows(DWORD processId) {
    LauncherWindows l;
    for (HWND hwnd : TopLevelWindows(processId)) {
        if (::IsWindowVisible(hwnd) && ::GetWindow(hwnd, GW_OWNER) == NULL &&
            ::GetDlgItem(hwnd, IDC_MAXIMIZE) == NULL && WindowTextOf(hwnd) == kLauncherTitle)
            l.main = hwnd;
    }
    // The main window shows only once it has made the game window, so a list taken from now on holds the game
    // window if there is one; the list above may be older than the game window.
    for (HWND hwnd : TopLevelWindows(processId)) {
        if (::GetDlgItem(hwnd, IDC_MAXIMIZE) != NULL)
            l.game = hwnd;
        else if (l.main != NULL && ::GetWindow(hwnd, GW_OWNER) == l.main && ::GetDlgItem(hwnd, IDYES) == NULL)
            l.startPage = hwnd; // the start page rides on the main window; so does a closing question
    }
    l.startView = ::GetDlgItem(l.startPage, IDC_START_PAGE); // NULL with the page
    l.btnMinimize = ::GetDlgItem(l.main, IDC_MINIMIZE);
    l.btnClose = ::GetDlgItem(l.main, IDC_CLOSE);
    return l;
}

} // namespace qxrv::test
