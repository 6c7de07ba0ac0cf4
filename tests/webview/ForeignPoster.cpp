// Another process on the same desktop: posts the web view's two messages with its own pointers as wParam.
// Usage: webview_foreign_poster <main hwnd> <dialog hwnd> <count>
#include "framework/Prelude.h"

#include "res/resource.h"
#include "webview/WebViewMessages.h"

#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4)
        return 2;
    const HWND targets[] = {reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(argv[1], nullptr, 10))),
                            reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(argv[2], nullptr, 10)))};
    const int count = _wtoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        // Addresses that mean something here and nothing in the receiver.
        auto* text = new std::wstring(L"http://elsewhere.test/?client=1");
        for (HWND target : targets) {
            if (!PostMessageW(target, WM_OPEN_GAME_URL, reinterpret_cast<WPARAM>(text), IDC_START_PAGE) ||
                !PostMessageW(target, WM_PAGE_LOADED, reinterpret_cast<WPARAM>(text), 0))
                return 1;
        }
    }
    return 0;
}
