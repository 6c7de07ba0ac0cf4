// Floods of the launcher's own messages from a second process, with wParams that mean nothing here: the
// launcher's three windows take them without crashing, leaking, freeing anything or changing what they show.
#include "res/resource.h"
#include "tests/soak/SoakKit.h"
#include "tests/support/ExeFolder.h"
#include "tests/support/LauncherWindows.h"
#include "tests/support/Pump.h"
#include "tests/support/Watchdog.h"
#include "webview/PostedString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

using namespace qxrv::test;

namespace {

// What the user sees of the launcher.
struct Look {
    bool mainShown, mainIconic, startShown, startViewShown, gameShown;
    RECT mainRect;
    bool operator==(const Look& o) const {
        return mainShown == o.mainShown && mainIconic == o.mainIconic && startShown == o.startShown &&
               startViewShown == o.startViewShown && gameShown == o.gameShown &&
               ::EqualRect(&mainRect, &o.mainRect);
    }
};

Look LookOf(HWND main, HWND start, HWND game) {
    Look look = {};
    look.mainShown = ::IsWindowVisible(main) != FALSE;
    look.mainIconic = ::IsIconic(main) != FALSE;
    look.startShown = ::IsWindowVisible(start) != FALSE;
    look.startViewShown = ::IsWindowVisible(::GetDlgItem(start, IDC_START_PAGE)) != FALSE;
    look.gameShown = ::IsWindowVisible(game) != FALSE;
    ::GetWindowRect(main, &look.mainRect);
    return look;
}

// The launcher's thread keeps pumping while the flood comes in, as its message loop would.
bool RunPoster(const std::wstring& arguments, DWORD* pExitCode) {
    const ChildRun run = RunBesideThisExe(QXRV_FLOOD_POSTER, arguments, 60000, true);
    *pExitCode = run.exitCode;
    return run.ended;
}

TEST(HostileMessages, FloodsFromAnotherProcessChangeNothing) {
    ExtendWatchdog(120);
    {
        Launcher l;
        ASSERT_TRUE(l.ok());
        const HWND main = l.main();
        const HWND start = l.startPage();
        const HWND game = l.Game().GetSafeHwnd();
        PumpFor(100);
        const Look before = LookOf(main, start, game);

        // A first round warms up what the first messages allocate once.
        const std::wstring targets = std::to_wstring(reinterpret_cast<UINT_PTR>(main)) + L" " +
                                     std::to_wstring(reinterpret_cast<UINT_PTR>(start)) + L" " +
                                     std::to_wstring(reinterpret_cast<UINT_PTR>(game));
        DWORD code = 1;
        ASSERT_TRUE(RunPoster(L"7 200 " + targets, &code));
        ASSERT_EQ(0u, code);
        PumpFor(50);
        const HeapUse heapBefore = HeapInUse();
        ASSERT_TRUE(RunPoster(L"20261208 5000 " + targets, &code));
        EXPECT_EQ(0u, code) << "the flood could not be posted";
        PumpFor(100);
        const HeapUse heapAfter = HeapInUse();
        std::printf("message flood: 45000 messages; crt heap %zu -> %zu bytes, all heaps %zu -> %zu bytes\n",
                    heapBefore.crt, heapAfter.crt, heapBefore.all, heapAfter.all);

        ASSERT_TRUE(::IsWindow(main));
        ASSERT_TRUE(::IsWindow(start));
        ASSERT_TRUE(::IsWindow(game));
        const Look after = LookOf(main, start, game);
        EXPECT_TRUE(before == after) << "main shown " << after.mainShown << ", iconic " << after.mainIconic
                                     << ", start page shown " << after.startShown << ", its view shown "
                                     << after.startViewShown << ", game shown " << after.gameShown;
        EXPECT_EQ(0u, OutstandingPostedStrings());
        EXPECT_LT(static_cast<long long>(heapAfter.crt) - static_cast<long long>(heapBefore.crt), 32 * 1024);
    }
}

// Message boxes open in this process, found by a driver thread: shown dialogs that are none of the
// launcher's windows. (Nothing here may send to the launcher's thread, which may be waiting for the driver.)
std::vector<HWND> OpenQuestions(const std::vector<HWND>& launcher) {
    std::vector<HWND> open;
    for (HWND hwnd : TopLevelWindows()) {
        if (WindowClassOf(hwnd) == L"#32770" && ::IsWindowVisible(hwnd) &&
            std::find(launcher.begin(), launcher.end(), hwnd) == launcher.end())
            open.push_back(hwnd);
    }
    return open;
}

// Dialog windows of this thread alive now, and the most at once: a hook sees every one made and ended.
int g_nDialogsAlive = 0;
int g_nMostDialogsAlive = 0;

bool IsDialogWindow(HWND hwnd) {
    return WindowClassOf(hwnd) == L"#32770";
}

LRESULT CALLBACK CountDialogs(int code, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && IsDialogWindow(hwnd)) {
        if (++g_nDialogsAlive > g_nMostDialogsAlive)
            g_nMostDialogsAlive = g_nDialogsAlive;
    } else if (code == HCBT_DESTROYWND && IsDialogWindow(hwnd)) {
        --g_nDialogsAlive;
    }
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

// Close clicks that arrive while the quit question is up (posted: a real click cannot reach the disabled
// window) ask nothing more: one question at a time, however many come in.
TEST(HostileMessages, PostedCloseClicksAskOneQuestionAtATime) {
    ExtendWatchdog(60);
    Launcher l;
    ASSERT_TRUE(l.ok());
    const HWND targets[] = {l.main(), l.Game().GetSafeHwnd()};
    const std::vector<HWND> launcher = {targets[0], targets[1], l.startPage()};
    const Look before = LookOf(l.main(), l.startPage(), targets[1]);
    std::atomic<bool> done(false);
    std::atomic<int> polls(0);
    std::thread driver([&] {
        while (!done) {
            const std::vector<HWND> open = OpenQuestions(launcher);
            for (HWND hwnd : open)
                ::PostMessageW(hwnd, WM_COMMAND, IDNO, 0); // No: the launcher stays
            polls += !open.empty();
            ::Sleep(5);
        }
    });
    g_nDialogsAlive = g_nMostDialogsAlive = 0;
    const HHOOK hook = ::SetWindowsHookExW(WH_CBT, CountDialogs, NULL, ::GetCurrentThreadId());
    for (HWND target : targets) {
        const HWND close = ::GetDlgItem(target, IDC_CLOSE);
        for (int i = 0; i < 200; ++i)
            ::PostMessageW(target, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED),
                           reinterpret_cast<LPARAM>(close));
        PumpFor(1500);
    }
    // Clicks still queued would ask once the driver has gone.
    MSG msg;
    while (::PeekMessageW(&msg, NULL, WM_COMMAND, WM_COMMAND, PM_NOREMOVE))
        PumpPending();
    ::UnhookWindowsHookEx(hook);
    done = true;
    driver.join();
    std::printf("posted close clicks: 400 posted, questions seen in %d polls, at most %d open at once\n",
                polls.load(), g_nMostDialogsAlive);
    EXPECT_GT(polls.load(), 0);
    EXPECT_EQ(1, g_nMostDialogsAlive);
    // Every answer was No: both windows stay as they were, neither ended nor hidden.
    ASSERT_TRUE(::IsWindow(l.main()));
    ASSERT_TRUE(::IsWindow(targets[1]));
    const Look after = LookOf(l.main(), l.startPage(), targets[1]);
    EXPECT_TRUE(before == after) << "main shown " << after.mainShown << ", start page shown "
                                 << after.startShown << ", game shown " << after.gameShown;
}

} // namespace
