#include "webview/ShellOpen.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cwchar>

namespace {

void ShellExecuteOpen(LPCWSTR url) {
    // The shell's answer is of no use here: the navigation is cancelled either way.
    ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
}

ShellOpener g_opener = ShellExecuteOpen;

// Whether c may stand raw in a URL that ends up on another program's command line. Quotes and white space
// would end or split its argument there, and a backslash before a quote would change its meaning.
bool IsSafeRaw(wchar_t c) {
    if (c <= L' ' || c == 0x7F || c == L'"' || c == L'\\')
        return false;
    if (c < 0x80)
        return true;
    WORD type = 0;
    return ::GetStringTypeW(CT_CTYPE1, &c, 1, &type) && !(type & (C1_SPACE | C1_BLANK | C1_CNTRL));
}

bool AllSafeRaw(const wchar_t* s) {
    for (; *s; ++s) {
        if (!IsSafeRaw(*s))
            return false;
    }
    return true;
}

} // namespace

std::wstring ShellSafeWebUrl(LPCWSTR url) {
    if (!url || !*url || wcsnlen(url, kMaxShellUrlLength + 1) > kMaxShellUrlLength)
        return std::wstring();
    // The canonical form: backslashes become slashes, dot segments go, spaces are percent-encoded. A result
    // longer than the limit does not fit and fails.
    wchar_t canonical[kMaxShellUrlLength + 1];
    DWORD cch = ARRAYSIZE(canonical);
    if (FAILED(::UrlCanonicalizeW(url, canonical, &cch, URL_ESCAPE_SPACES_ONLY)))
        return std::wstring();

    // The scheme as the system reads it. (UrlGetPartW rather than ParseURLW, which older systems export by
    // ordinal only.)
    wchar_t scheme[16];
    cch = ARRAYSIZE(scheme);
    if (FAILED(::UrlGetPartW(canonical, scheme, &cch, URL_PART_SCHEME, 0)) ||
        (_wcsicmp(scheme, L"http") != 0 && _wcsicmp(scheme, L"https") != 0))
        return std::wstring();
    // No host ("http:calc.exe", "https://") is no web page. A host the canonical form had to escape is none
    // either.
    wchar_t host[kMaxShellUrlLength + 1];
    cch = ARRAYSIZE(host);
    if (FAILED(::UrlGetPartW(canonical, host, &cch, URL_PART_HOSTNAME, 0)) || !host[0] ||
        wcschr(host, L'%') || !AllSafeRaw(host))
        return std::wstring();
    // Whatever the system left raw that the command line could misread (quotes, control characters): refused.
    if (!AllSafeRaw(canonical))
        return std::wstring();
    return canonical;
}

void OpenWebUrlInShell(LPCWSTR url) {
    const std::wstring safe = ShellSafeWebUrl(url);
    if (!safe.empty())
        g_opener(safe.c_str());
}

ShellOpener SetShellOpener(ShellOpener opener) {
    const ShellOpener previous = g_opener;
    g_opener = opener ? opener : ShellExecuteOpen;
    return previous;
}
