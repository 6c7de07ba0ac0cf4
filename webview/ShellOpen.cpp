#include "webview/ShellOpen.h"

#include <shellapi.h>

#include <cwchar>

namespace {

void ShellExecuteOpen(LPCWSTR url) {
    // The shell's answer is of no use here: the navigation is cancelled either way.
    ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
}

ShellOpener g_opener = ShellExecuteOpen;

} // namespace

bool IsWebUrl(LPCWSTR url) {
    if (!url)
        return false;
    return _wcsnicmp(url, L"http:", 5) == 0 || _wcsnicmp(url, L"https:", 6) == 0;
}

void OpenWebUrlInShell(LPCWSTR url) {
    if (IsWebUrl(url))
        g_opener(url);
}

ShellOpener SetShellOpener(ShellOpener opener) {
    const ShellOpener previous = g_opener;
    g_opener = opener ? opener : ShellExecuteOpen;
    return previous;
}
