// Another process on the same desktop that floods windows with the launcher's messages, carrying wParams that
// mean nothing in the receiver: random numbers, small integers, all bits set, and addresses of its own.
// Usage: hostile_flood_poster <seed> <count> <hwnd>...
// Each hwnd gets count rounds of WM_OPEN_GAME_URL, WM_PAGE_LOADED and WM_COMMAND. The commands never carry
// BN_CLICKED for the launcher's own buttons (those do what a click does); everything else is fair game.
#include "framework/Prelude.h"

#include "res/resource.h"
#include "webview/WebViewMessages.h"

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

// The launcher's control IDs, and the dialog manager's two commands.
const WORD kIds[] = {IDOK,        IDCANCEL,      IDC_MINIMIZE, IDC_CLOSE,       IDC_START_PAGE,
                     IDC_RESTORE, IDC_GAME_PAGE, IDC_MAXIMIZE, ID_POPUP_BROWSER};

// Posts, waiting while the receiver's queue is full.
bool Post(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    for (int attempt = 0; attempt < 2000; ++attempt) {
        if (PostMessageW(hWnd, message, wParam, lParam))
            return true;
        Sleep(1);
    }
    return false;
}

bool IsButtonClick(WORD id, WORD code) {
    return code == BN_CLICKED &&
           (id == IDC_MINIMIZE || id == IDC_CLOSE || id == IDC_RESTORE || id == IDC_MAXIMIZE);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4)
        return 2;
    std::mt19937 rng(static_cast<unsigned>(_wtoi(argv[1])));
    const int count = _wtoi(argv[2]);
    std::vector<HWND> targets;
    for (int i = 3; i < argc; ++i)
        targets.push_back(reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(argv[i], nullptr, 10))));

    std::wstring own(L"http://elsewhere.test/?x&client=1");
    const WPARAM ownAddress = reinterpret_cast<WPARAM>(&own);
    auto bogus = [&]() -> WPARAM {
        switch (rng() % 5) {
        case 0:
            return rng();
        case 1:
            return rng() % 64;
        case 2:
            return ~WPARAM(0);
        case 3:
            return ownAddress + (rng() % 16);
        default:
            return reinterpret_cast<WPARAM>(targets[rng() % targets.size()]);
        }
    };
    for (int i = 0; i < count; ++i) {
        for (HWND target : targets) {
            WORD id = (rng() % 2) ? kIds[rng() % (sizeof kIds / sizeof kIds[0])] : static_cast<WORD>(rng());
            WORD code = static_cast<WORD>((rng() % 3) ? rng() : rng() % 8);
            if (IsButtonClick(id, code))
                code = BN_DOUBLECLICKED;
            // A window of the target's own (a child control), or nonsense.
            HWND child = ::GetWindow(target, GW_CHILD);
            const LPARAM from =
                (rng() % 2 && child) ? reinterpret_cast<LPARAM>(child) : static_cast<LPARAM>(bogus());
            if (!Post(target, WM_OPEN_GAME_URL, bogus(), static_cast<LPARAM>(bogus())) ||
                !Post(target, WM_PAGE_LOADED, bogus(), static_cast<LPARAM>(bogus())) ||
                !Post(target, WM_COMMAND, MAKEWPARAM(id, code), from))
                return 1;
        }
    }
    return 0;
}
