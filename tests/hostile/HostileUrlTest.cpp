// Hostile URLs: ten thousand generated navigations through the web view's routing and its shell hand-off,
// each judged against a small model of the rules written here, with the heap watched for leaks.
#include "tests/support/Watchdog.h"
#include "tests/webview/WebViewFixture.h"

#include <exdispid.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace qxrv::test;

// Turns the automation library's cache of freed strings off (oleaut32; no header declares it).
extern "C" void SetOaNoCache(void);

namespace {

constexpr UINT kPlay = 41001;
constexpr UINT kPlayAgain = 41002;
constexpr UINT kQuit = 41003;
const APP_URL_ENTRY kTable[] = {{L"play", kPlay}, {L"PLAY", kPlayAgain}, {L"quit", kQuit}, {NULL, 0}};

// ---- the model
// ---------------------------------------------------------------------------------------------

wchar_t AsciiLower(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool StartsWithNoCase(const std::wstring& s, const std::wstring& prefix) {
    if (s.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(s[i]) != AsciiLower(prefix[i]))
            return false;
    }
    return true;
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

// What should come of one navigation.
struct Verdict {
    bool cancel = false;
    std::vector<std::wstring> appTexts; // what OnAppUrl is called with
    std::vector<UINT> commands;         // WM_COMMAND IDs posted to the parent, in order
    bool gameLink = false;
    std::wstring gameUrl; // the string WM_OPEN_GAME_URL carries
};

// Whether a URL handed to the shell is one it can take safely: an http or https URL of at most 2,083
// characters with nothing left raw that could end or split an argument on the browser's command line.
bool SafeForShell(const std::wstring& url) {
    if (url.size() > 2083 || !(StartsWithNoCase(url, L"http://") || StartsWithNoCase(url, L"https://")))
        return false;
    for (const wchar_t c : url) {
        if (c <= L' ' || c == 0x7F || c == L'"' || c == L'\\' || c == 0x2028 || c == 0x3000)
            return false;
    }
    return true;
}

// The rules as a page author would read them. Everything downstream of the event sees a C string, so the
// text ends at the first NUL whatever the BSTR's length says.
Verdict Judge(const std::wstring& bstr) {
    const std::wstring url = bstr.substr(0, bstr.find(L'\0'));
    Verdict v;
    if (url.compare(0, 10, L"javascript") == 0) {
        v.cancel = true;
        return v;
    }
    if (StartsWithNoCase(url, L"app:")) {
        v.cancel = true;
        const std::wstring word = url.substr(4);
        v.appTexts.push_back(word);
        for (const APP_URL_ENTRY* row = kTable; row->lpszName; ++row) {
            if (EqualNoCase(row->lpszName, word))
                v.commands.push_back(row->nCommandID);
        }
        return v;
    }
    const std::wstring mark = L"&client=1";
    if (url.find(mark) != std::wstring::npos) {
        v.cancel = true;
        v.gameLink = true;
        // One pass, left to right: what a removal joins together stays.
        size_t from = 0;
        for (size_t at = url.find(mark); at != std::wstring::npos; at = url.find(mark, from)) {
            v.gameUrl.append(url, from, at - from);
            from = at + mark.size();
        }
        v.gameUrl.append(url, from, std::wstring::npos);
    }
    return v;
}

// ---- the generator
// ------------------------------------------------------------------------------------------

const wchar_t* const kSchemes[] = {
    L"http://",
    L"HTTP://",
    L"hTtP://",
    L"https://",
    L"HTTPS:",
    L"http:",
    L"https:",
    L"http",
    L"https",
    L"http;//",
    L"httpx://",
    L" http://",
    L"\thttp://",
    L"ht\0tp://",
    L"htt\u017f://",
    L"http\uff1a//",
    L"file:///",
    L"FILE://",
    L"ftp://",
    L"mailto:",
    L"about:blank",
    L"res://",
    L"mk:@",
    L"vbscript:",
    L"javascript:",
    L"javascript",
    L"JavaScript:",
    L"javaScript:",
    L"JAVASCRIPT:",
    L"javascrip",
    L"javascript\0:",
    L"java\0script:",
    L" javascript:",
    L"jav\u0430script:",
    L"app:",
    L"APP:",
    L"aPp:",
    L"app",
    L"ap:",
    L"app\0:",
    L"app:play",
    L"APP:PLAY",
    L"app:quit",
    L"app:play ",
    L"app:Play\0x",
    L"app:",
    L"\\\\server\\share\\",
    L"c:\\windows\\",
    L"",
    L"&client=1",
    L"?&client=1",
    L"%26client=1",
    L"ms-settings:",
};

const wchar_t* const kPieces[] = {
    L"&client=1",  L"&Client=1",
    L"&client=",   L"client=1",
    L"&client=11", L"&&client=1client=1",
    L"app:",       L"javascript",
    L"?",          L"&",
    L"/",          L"%00",
    L"\x00",       L"\xD800",
    L"\xDC00",     L"\xDBFF\xDFFF",
    L"\xFFFF",     L"\xFEFF",
};

class UrlMaker {
public:
    explicit UrlMaker(unsigned seed) : m_rng(seed) {}

    std::wstring Next(int i) {
        switch (i % 8) {
        case 0:
            return Scheme() + RandomUnits(Below(200));
        case 1:
            return Scheme() + L"h.test/" + Sprinkle(Below(12), /*surrogatesOnly=*/true);
        case 2: { // a NUL somewhere inside the BSTR's length
            std::wstring url = Scheme() + L"h.test/?a=1" + Sprinkle(Below(6), false);
            url.insert(Below(static_cast<unsigned>(url.size()) + 1), 1, L'\0');
            return url;
        }
        case 3:
            return (i % 80 == 3) ? Huge() : Scheme() + Sprinkle(Below(20), false);
        case 4:
            return (i % 80 == 4) ? Repeated() : Scheme() + L"h.test/game?x" + Sprinkle(Below(5), false);
        default:
            return Scheme() + Sprinkle(Below(8), false) + RandomUnits(Below(20));
        }
    }

private:
    unsigned Below(unsigned n) { return n ? static_cast<unsigned>(m_rng() % n) : 0; }

    std::wstring Scheme() {
        const unsigned n = sizeof kSchemes / sizeof kSchemes[0];
        const wchar_t* s = kSchemes[Below(n)];
        // A scheme with an embedded NUL is written out to its full length below.
        static const std::pair<const wchar_t*, size_t> withNul[] = {{L"ht\0tp://", 8},
                                                                    {L"javascript\0:", 12},
                                                                    {L"java\0script:", 12},
                                                                    {L"app\0:", 5},
                                                                    {L"app:Play\0x", 10}};
        for (const auto& w : withNul) {
            if (std::wstring(s) == std::wstring(w.first, wcslen(w.first)) && Below(2))
                return std::wstring(w.first, w.second);
        }
        return s;
    }

    std::wstring RandomUnits(unsigned n) {
        std::wstring s;
        for (unsigned k = 0; k < n; ++k)
            s += static_cast<wchar_t>(Below(4) ? 0x20 + Below(0x60) : Below(0x10000));
        return s;
    }

    std::wstring Sprinkle(unsigned n, bool surrogatesOnly) {
        const unsigned count = sizeof kPieces / sizeof kPieces[0];
        std::wstring s;
        for (unsigned k = 0; k < n; ++k) {
            if (surrogatesOnly) {
                s += static_cast<wchar_t>(0xD800 + Below(0x800));
                s += L"x=";
                continue;
            }
            const wchar_t* piece = kPieces[Below(count)];
            s += piece[0] == 0 ? std::wstring(1, L'\0') : std::wstring(piece);
        }
        return s;
    }

    // 64 K units: random text with the pieces spread through it.
    std::wstring Huge() {
        std::wstring s = Scheme() + L"h.test/?";
        while (s.size() < 65536) {
            s += RandomUnits(Below(64));
            if (Below(4) == 0)
                s += L"&client=1";
        }
        s.resize(65536 + Below(3));
        return s;
    }

    // "&client=1" thousands of times, sometimes split so that removing one joins another.
    std::wstring Repeated() {
        const unsigned times = 1000 + Below(4000);
        std::wstring s = Scheme() + L"h.test/play?";
        for (unsigned k = 0; k < times; ++k)
            s += Below(8) ? L"&client=1" : L"&client=&client=11";
        return s;
    }

    std::mt19937 m_rng;
};

// ---- driving the view
// ---------------------------------------------------------------------------------------

std::string Show(const std::wstring& url) {
    std::string s;
    for (size_t k = 0; k < url.size() && k < 60; ++k) {
        const wchar_t c = url[k];
        char buf[8];
        if (c >= 0x20 && c < 0x7F) {
            s += static_cast<char>(c);
        } else {
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            s += buf;
        }
    }
    if (url.size() > 60)
        s += "... (" + std::to_string(url.size()) + " units)";
    return s;
}

class HostileUrls : public WebViewFixture {};

TEST_F(HostileUrls, TenThousandGeneratedUrlsFollowTheModelWithoutLeaking) {
    ExtendWatchdog(150);
    // Freed BSTRs would otherwise wait in the automation library's cache and hide a leak among them.
    SetOaNoCache();
    m_view.m_pAppUrlTable = kTable;
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    ASSERT_NE(nullptr, fake->RequestNewWindow(L"about:blank"));
    CHtmlCtrl* popup = m_view.GetPopupBrowser();
    ASSERT_NE(nullptr, popup);
    FakeBrowser* popupFake = FakeBrowser::ForHost(popup->m_hWnd);
    ASSERT_NE(nullptr, popupFake);
    const LPARAM viewId = ::GetDlgCtrlID(m_view.m_hWnd);

    UrlMaker maker(20261208u);
    int mismatches = 0;
    int counts[4] = {}; // cancelled, app, game, shell
    auto runOne = [&](int i) {
        const std::wstring url = maker.Next(i);
        const Verdict want = Judge(url);
        ReceivedLog().clear();
        Opened().clear();
        m_view.appUrls.clear();

        const bool cancelled = fake->FireBeforeNavigate2(url);
        const bool popupCancelled = popupFake->FireBeforeNavigate2(url);
        PumpPending();

        std::vector<UINT> commands;
        for (const Received& r : ReceivedOf(WM_COMMAND))
            commands.push_back(static_cast<UINT>(r.wParam));
        const std::vector<Received> games = ReceivedOf(WM_OPEN_GAME_URL);
        const bool gameOk = want.gameLink
                                ? (games.size() == 1 && games[0].claimed && games[0].text == want.gameUrl &&
                                   games[0].lParam == viewId && games[0].to == m_main.m_hWnd)
                                : games.empty();
        // What reaches the shell is a safe form of a web URL, or nothing. (The system drops white space
        // around a URL, so a web URL need not start at the first character.)
        const bool shellOk = Opened().empty() || (Opened().size() == 1 && SafeForShell(Opened()[0]));
        const bool ok = cancelled == want.cancel && popupCancelled && m_view.appUrls == want.appTexts &&
                        commands == want.commands && gameOk && shellOk;
        if (!ok && ++mismatches <= 10) {
            ADD_FAILURE() << "url #" << i << " " << Show(url) << ": cancel " << cancelled << " (model "
                          << want.cancel << "), pop-up cancel " << popupCancelled << ", app calls "
                          << m_view.appUrls.size() << " (model " << want.appTexts.size() << "), commands "
                          << commands.size() << " (model " << want.commands.size() << "), game posts "
                          << games.size() << " (model " << want.gameLink << "), shell opens "
                          << Opened().size() << (Opened().empty() ? "" : " " + Show(Opened()[0]));
        }
        counts[0] += want.cancel;
        counts[1] += !want.appTexts.empty();
        counts[2] += want.gameLink;
        counts[3] += !Opened().empty();
    };

    // Warm up: first-use allocations of the runtime, COM and the logs are not leaks.
    for (int i = 0; i < 200; ++i)
        runOne(i);
    const HeapUse before = HeapInUse();
    for (int i = 200; i < 10200; ++i)
        runOne(i);
    ReceivedLog().clear();
    Opened().clear();
    m_view.appUrls.clear();
    const HeapUse after = HeapInUse();

    std::printf(
        "hostile urls: 10000 run, %d cancelled, %d app, %d game links, %d to the shell; %d mismatches\n",
        counts[0], counts[1], counts[2], counts[3], mismatches);
    std::printf("hostile urls: crt heap %zu -> %zu bytes, all heaps %zu -> %zu bytes\n", before.crt,
                after.crt, before.all, after.all);
    EXPECT_EQ(0, mismatches);
    // Every kind of verdict really came up.
    for (int c : counts)
        EXPECT_GT(c, 100);
    EXPECT_EQ(0u, OutstandingPostedStrings());
    // Capacity of the logs and the runtime's free lists may move a little; a leak of one string per URL
    // would be hundreds of kilobytes.
    EXPECT_LT(static_cast<long long>(after.crt) - static_cast<long long>(before.crt), 64 * 1024);
    EXPECT_LT(static_cast<long long>(after.all) - static_cast<long long>(before.all), 256 * 1024);
}

// What a pop-up browser hands to the shell. Where the system's URL functions differ (Wine's and Windows'
// percent-encode different characters), a row accepts a safe form or a refusal alike.
TEST_F(HostileUrls, OnlyWellFormedWebUrlsReachTheShellAndOnlyInASafeForm) {
    enum Verdict { kRefused, kUnchanged, kSafeOrRefused };
    const std::wstring longest = L"http://h/" + std::wstring(2083 - 9, L'a');
    const struct {
        const char* what;
        std::wstring url;
        Verdict verdict;
    } rows[] = {
        {"100,009 characters", L"http://h/" + std::wstring(100000, L'a'), kRefused},
        {"2,084 characters", longest + L"a", kRefused},
        {"2,083 characters", longest, kUnchanged},
        {"quotes that add switches", L"http://h/\" --new-window \"file:///c:/", kSafeOrRefused},
        {"quote in the host", L"http://\"h\"/", kRefused},
        {"quote in the fragment", L"http://h/x#a\"b", kSafeOrRefused},
        {"percent-encoded quotes", L"http://h/%22q%22", kUnchanged},
        {"backslashes", L"http:\\\\evil\\share\\x.exe", kSafeOrRefused},
        {"no slashes, no host", L"http:calc.exe", kRefused},
        {"empty host", L"https://", kRefused},
        {"empty host and a path", L"http:///h", kRefused},
        {"space in the host", L"http://ho st/x", kRefused},
        {"spaces in path and query", L"http://h/a b?c d", kSafeOrRefused},
        {"raw control character", L"http://h/a\001b", kSafeOrRefused},
        {"line break", L"http://h/a\r\nb", kSafeOrRefused},
        {"Unicode line separator", L"http://h/a\u2028b", kSafeOrRefused},
        {"local file", L"file:///c:/windows/system32/calc.exe", kRefused},
        {"other protocol", L"ms-settings:", kRefused},
        {"ordinary, with query and fragment", L"http://example.com/p/a.html?q=1&r=a%20b#frag", kUnchanged},
        {"ordinary https with a port", L"https://user@example.com:8443/x?y=%E4%B8%AD", kUnchanged},
    };
    ASSERT_TRUE(CreateView());
    ASSERT_NE(nullptr, Fake()->RequestNewWindow(L"about:blank"));
    FakeBrowser* popup = FakeBrowser::ForHost(m_view.GetPopupBrowser()->m_hWnd);
    ASSERT_NE(nullptr, popup);
    for (const auto& row : rows) {
        Opened().clear();
        EXPECT_TRUE(popup->FireBeforeNavigate2(row.url)) << row.what << ": the pop-up never navigates itself";
        const std::string got = Opened().empty() ? "nothing" : Show(Opened()[0]);
        EXPECT_LE(Opened().size(), 1u) << row.what;
        switch (row.verdict) {
        case kRefused:
            EXPECT_TRUE(Opened().empty()) << row.what << ": handed over " << got;
            break;
        case kUnchanged:
            EXPECT_EQ(std::vector<std::wstring>{row.url}, Opened()) << row.what << ": handed over " << got;
            break;
        case kSafeOrRefused:
            EXPECT_TRUE(Opened().empty() || SafeForShell(Opened()[0])) << row.what << ": handed over " << got;
            break;
        }
    }
}

} // namespace

namespace {

// Milliseconds a page's burst of n game links takes before the launcher gets to its queue again.
DWORD BurstOfGameLinks(FakeBrowser* fake, int n) {
    const DWORD start = ::GetTickCount();
    for (int i = 0; i < n; ++i)
        fake->ClickLink((L"http://h/?n=" + std::to_wstring(i) + L"&client=1").c_str());
    return ::GetTickCount() - start;
}

// A page that fires links in a loop must not freeze the launcher for the square of their number.
TEST_F(HostileUrls, ABurstOfGameLinksCostsInProportionToItsLength) {
    ExtendWatchdog(120);
    FakeBrowser* fake = CreateViewAndFake();
    ASSERT_NE(nullptr, fake);
    BurstOfGameLinks(fake, 200); // warm-up
    PumpPending();
    ReceivedLog().clear();
    const DWORD small = BurstOfGameLinks(fake, 1000);
    PumpPending();
    ReceivedLog().clear();
    const DWORD large = BurstOfGameLinks(fake, 8000);
    PumpPending();
    std::printf("game-link bursts: 1000 links in %lu ms, 8000 links in %lu ms\n", small, large);
    EXPECT_EQ(8000u, ReceivedOf(WM_OPEN_GAME_URL).size());
    for (const Received& r : ReceivedOf(WM_OPEN_GAME_URL))
        ASSERT_TRUE(r.claimed);
    // Eight times the links: proportional cost is about eight times the time; the square would be 64.
    EXPECT_LT(large, 20 * small + 500);
}

} // namespace
