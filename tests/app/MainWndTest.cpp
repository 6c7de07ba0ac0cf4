// The main window run modally, as the program runs it, with the system's own browser control. A driver thread
// plays the user: it finds the windows, reads the screen, posts clicks and keys and answers the questions.
#include "app/LauncherText.h"
#include "app/QXRVTranslucentDlg.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "skin/GdiplusServices.h"
#include "skin/PngResource.h"
#include "tests/app/AppTestKit.h"
#include "tests/support/Backdrop.h"
#include "tests/support/BitmapPixels.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/LoopbackServer.h"
#include "tests/app/UiAgent.h"
#include "tests/frame/PointerInput.h"
#include "tests/support/Pump.h"
#include "tests/support/Watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

using namespace qxrv::test;

namespace {

const COLORREF kBackdrop = RGB(10, 200, 30);

// A PNG resource decoded into straight ARGB pixels, to know what the screen must show.
class Picture {
public:
    explicit Picture(UINT nID) {
        std::unique_ptr<Gdiplus::Image> pImage(ImageFromPngResource(nID));
        if (!pImage || pImage->GetWidth() == 0)
            return;
        m_pBitmap =
            std::make_unique<Gdiplus::Bitmap>(pImage->GetWidth(), pImage->GetHeight(), PixelFormat32bppARGB);
        Gdiplus::Graphics g(m_pBitmap.get());
        g.DrawImage(pImage.get(), 0, 0, pImage->GetWidth(), pImage->GetHeight());
    }
    int Width() const { return m_pBitmap ? static_cast<int>(m_pBitmap->GetWidth()) : 0; }
    int Height() const { return m_pBitmap ? static_cast<int>(m_pBitmap->GetHeight()) : 0; }
    Gdiplus::Color At(int x, int y) const { return Gdiplus::Color(BitmapPixel(*m_pBitmap, x, y)); }
    static COLORREF Rgb(const Gdiplus::Color& c) { return RGB(c.GetR(), c.GetG(), c.GetB()); }

private:
    std::unique_ptr<Gdiplus::Bitmap> m_pBitmap;
};

// A point of the main window and the colour the screen must show there.
struct ExpectedPixel {
    std::string what;
    POINT at;
    COLORREF colour;
};

// Source-over of a straight-alpha colour onto an opaque one.
COLORREF Over(const Gdiplus::Color& top, COLORREF under) {
    const int a = top.GetA();
    auto mix = [a](int t, int u) { return (t * a + u * (255 - a) + 127) / 255; };
    return RGB(mix(top.GetR(), GetRValue(under)), mix(top.GetG(), GetGValue(under)),
               mix(top.GetB(), GetBValue(under)));
}

// Screen colours that follow from the pictures: a see-through corner, an opaque background pixel, and the two
// buttons composed over it in drawing order, the close button last.
std::vector<ExpectedPixel> ExpectedPixels() {
    std::vector<ExpectedPixel> pixels;
    const Picture background(IDB_BACKGROUND);
    const Picture minimize(IDB_MINIMIZE_NORMAL);
    const Picture close(IDB_CLOSE_NORMAL);
    if (background.Width() != 1208 || minimize.Width() != 55 || close.Width() != 55)
        return pixels;
    if (background.At(0, 0).GetA() == 0)
        pixels.push_back({"transparent corner", {0, 0}, kBackdrop});
    for (int x = 20; x < 300; ++x) {
        if (background.At(x, 400).GetA() == 255) {
            pixels.push_back({"opaque background", {x, 400}, Picture::Rgb(background.At(x, 400))});
            break;
        }
    }
    // Every pixel of the two buttons where the background is opaque.
    for (int y = 0; y < 57; ++y) {
        for (int x = 1100; x < 1185; ++x) {
            const Gdiplus::Color bg = background.At(x, 64 + y);
            const Gdiplus::Color m = x < 1155 ? minimize.At(x - 1100, y) : Gdiplus::Color(0, 0, 0, 0);
            const Gdiplus::Color c = x >= 1130 ? close.At(x - 1130, y) : Gdiplus::Color(0, 0, 0, 0);
            if (bg.GetA() != 255 || (m.GetA() == 0 && c.GetA() == 0))
                continue;
            const char* what = c.GetA() == 0   ? "minimise button"
                               : m.GetA() == 0 ? "close button"
                                               : "close over minimise";
            pixels.push_back({what, {x, 64 + y}, Over(c, Over(m, Picture::Rgb(bg)))});
        }
    }
    return pixels;
}

// Colours equal within the rounding of premultiplied alpha.
bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 2 && std::abs(GetGValue(a) - GetGValue(b)) <= 2 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 2;
}

class MainWindow : public testing::Test {
protected:
    void SetUp() override {
        ExtendWatchdog(90);
        AfxEnableControlContainer();
        InstallUiAgent();
        // One colour under everything, so what shows through the launcher is known.
        m_backdrop = std::make_unique<CBackdrop>(WholeScreen(), kBackdrop, WS_EX_NOACTIVATE);
        ASSERT_TRUE(m_gdiplus.IsRunning());
    }

    void TearDown() override {
        RemoveUiAgent();
        m_backdrop.reset();
        PumpPending();
    }

    // Runs the main window modally, as the program does, while script plays the user on another thread.
    // Afterwards m_result holds DoModal's answer and m_gameAfter the main window's game window pointer.
    void RunModal(const std::function<void(const LauncherWindows&)>& script) {
        CWinApp app;
        CQXRVTranslucentDlg dlg;
        app.m_pMainWnd = &dlg;
        std::thread driver([&] {
            LauncherWindows l;
            const bool found = WaitUntil(
                [&] {
                    l = FindLauncherWindows();
                    return l.main && l.startView && l.game;
                },
                20000);
            EXPECT_TRUE(found) << "the launcher's windows never showed";
            if (found) {
                m_launcher = l;
                script(l);
            }
            // However the script ended, the loop must end.
            if (::IsWindow(l.main))
                ::PostMessageW(l.main, EndModalMessage(), IDABORT, 0);
        });
        m_result = dlg.DoModal();
        driver.join();
        m_gameAfter = dlg.GetGameWnd();
        m_mainPointerAfter = app.m_pMainWnd;
    }

    skin::CGdiplusSession m_gdiplus;
    std::unique_ptr<CBackdrop> m_backdrop;
    LauncherWindows m_launcher;
    INT_PTR m_result = 0;
    CDlgQXRVGameWnd* m_gameAfter = reinterpret_cast<CDlgQXRVGameWnd*>(1);
    CWnd* m_mainPointerAfter = reinterpret_cast<CWnd*>(1);
};

TEST_F(MainWindow, StartsCentredWithTheStartPageOverItAndTheGameWindowHidden) {
    const std::vector<ExpectedPixel> pixels = ExpectedPixels();
    auto count = [&](const std::string& what) {
        return std::count_if(pixels.begin(), pixels.end(),
                             [&](const ExpectedPixel& p) { return p.what == what; });
    };
    ASSERT_EQ(1, count("transparent corner"));
    ASSERT_EQ(1, count("opaque background"));
    ASSERT_GT(count("minimise button"), 100);
    ASSERT_GT(count("close button"), 100);
    std::printf("checking %zu screen pixels, %ld where the buttons overlap\n", pixels.size(),
                static_cast<long>(count("close over minimise")));
    const HICON icon = ::LoadIconW(::GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDR_MAINFRAME));

    RunModal([&](const LauncherWindows& l) {
        const RECT work = WorkArea();
        const RECT main = WindowRectOf(l.main);
        EXPECT_EQ(1208, main.right - main.left);
        EXPECT_EQ(621, main.bottom - main.top);
        EXPECT_EQ((work.left + work.right) / 2 - 1208 / 2, main.left);
        EXPECT_EQ((work.top + work.bottom) / 2 - 621 / 2, main.top);
        const DWORD style = static_cast<DWORD>(::GetWindowLongW(l.main, GWL_STYLE));
        EXPECT_TRUE(style & WS_POPUP);
        EXPECT_FALSE(style & WS_CAPTION);
        EXPECT_TRUE(::GetWindowLongW(l.main, GWL_EXSTYLE) & WS_EX_LAYERED);
        EXPECT_EQ(kLauncherTitle, WindowTextOf(l.game));

        const RECT page = WindowRectOf(l.startPage);
        EXPECT_EQ(main.left + 344, page.left);
        EXPECT_EQ(main.top + 88, page.top);
        EXPECT_EQ(708, page.right - page.left);
        EXPECT_EQ(508, page.bottom - page.top);
        EXPECT_TRUE(::IsWindowVisible(l.startPage));
        COLORREF key = 0;
        DWORD flags = 0;
        EXPECT_TRUE(::GetLayeredWindowAttributes(l.startPage, &key, NULL, &flags));
        EXPECT_EQ(RGB(0, 255, 0), key);
        EXPECT_TRUE(flags & LWA_COLORKEY);
        EXPECT_FALSE(Shown(l.startView));

        EXPECT_FALSE(::IsWindowVisible(l.game));
        EXPECT_EQ(NULL, ::GetWindow(l.game, GW_OWNER));
        EXPECT_EQ(reinterpret_cast<LRESULT>(icon), ::SendMessageW(l.game, WM_GETICON, ICON_BIG, 0));
        EXPECT_EQ(reinterpret_cast<LRESULT>(icon), ::SendMessageW(l.game, WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ(reinterpret_cast<LRESULT>(icon), ::SendMessageW(l.main, WM_GETICON, ICON_BIG, 0));

        const RECT minimize = ChildRectOf(l.btnMinimize);
        const RECT close = ChildRectOf(l.btnClose);
        EXPECT_EQ(1100, minimize.left);
        EXPECT_EQ(64, minimize.top);
        EXPECT_EQ(55, minimize.right - minimize.left);
        EXPECT_EQ(57, minimize.bottom - minimize.top);
        EXPECT_EQ(1130, close.left);
        EXPECT_EQ(64, close.top);

        // How many of the pixels a read of the whole window's area shows wrong, the first few reported if
        // asked.
        auto wrongIn = [&](const std::vector<COLORREF>& shot, bool bReport) {
            int wrong = 0;
            for (const ExpectedPixel& p : pixels) {
                const COLORREF seen = shot[p.at.y * 1208 + p.at.x];
                if (!Near(p.colour, seen) && ++wrong <= 5 && bReport)
                    ADD_FAILURE() << p.what << " at " << p.at.x << "," << p.at.y << ": expected " << std::hex
                                  << p.colour << ", screen " << seen;
            }
            return wrong;
        };
        // The windows exist before the main thread has put their first picture on the screen.
        std::vector<COLORREF> shot;
        WaitForScreen([&] {
            shot = ScreenPixels(main);
            return shot.size() == 1208u * 621u && wrongIn(shot, false) == 0;
        });
        ASSERT_EQ(1208u * 621u, shot.size());
        EXPECT_EQ(0, wrongIn(shot, true));
    });
    EXPECT_EQ(IDABORT, m_result);
}

TEST_F(MainWindow, MinimisingTakesTheStartPageAlong) {
    RunModal([&](const LauncherWindows& l) {
        PostClick(l.btnMinimize);
        EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(l.main) != FALSE; }));
        // Windows hides the owned start page with its owner here. Wine does that only for the system menu's
        // Minimize, not for ShowWindow, so the start page's visibility is not checked while minimised.

        ::ShowWindow(l.main, SW_RESTORE);
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(l.startPage) != FALSE; }));
        const RECT main = WindowRectOf(l.main);
        const RECT page = WindowRectOf(l.startPage);
        EXPECT_EQ(main.left + 344, page.left);
        EXPECT_EQ(main.top + 88, page.top);
    });
}

TEST_F(MainWindow, RealClicksReachItsButtons) {
    RunModal([&](const LauncherWindows& l) {
        // Inside each button where its picture is opaque and no other button's window lies.
        RECT main = WindowRectOf(l.main);
        frame_test::ClickAt({main.left + 1115, main.top + 92});
        EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(l.main) != FALSE; })) << "the minimise click got lost";

        ::ShowWindow(l.main, SW_RESTORE);
        ASSERT_TRUE(WaitUntil([&] { return !::IsIconic(l.main) && ::IsWindowVisible(l.main); }));
        main = WindowRectOf(l.main);
        frame_test::ClickAt({main.left + 1157, main.top + 92});
        SeenMessageBox seen;
        EXPECT_TRUE(AnswerMessageBox(kLauncherTitle, IDNO, &seen)) << "the close click got lost";
        EXPECT_EQ(l.main, seen.owner);
        // Away from the buttons, so no later test starts over one.
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        EXPECT_TRUE(::IsWindowVisible(l.main));
    });
    EXPECT_EQ(IDABORT, m_result);
}

TEST_F(MainWindow, KeysAndCloseRequestsLeaveTheLauncherOpen) {
    RunModal([&](const LauncherWindows& l) {
        for (const HWND target : {l.main, l.startPage}) {
            ::PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
            ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            ::PostMessageW(target, WM_COMMAND, IDOK, 0);
            ::PostMessageW(target, WM_COMMAND, IDCANCEL, 0);
            ::PostMessageW(target, WM_CLOSE, 0, 0);
            ::PostMessageW(target, WM_SYSCOMMAND, SC_CLOSE, 0);
            PostAltF4(target);
        }
        ::Sleep(500);
        EXPECT_TRUE(::IsWindowVisible(l.main));
        EXPECT_TRUE(::IsWindowVisible(l.startPage));
        EXPECT_FALSE(::IsWindowVisible(l.game));
    });
    EXPECT_EQ(IDABORT, m_result) << "only the test ended the loop";
}

TEST_F(MainWindow, CloseAsksAndYesDisposesOfTheHiddenGameWindow) {
    HWND game = NULL;
    RunModal([&](const LauncherWindows& l) {
        game = l.game;
        SeenMessageBox seen;
        PostClick(l.btnClose);
        ASSERT_TRUE(AnswerMessageBox(kLauncherTitle, IDNO, &seen));
        EXPECT_EQ(kAskQuitStarting, seen.text);
        EXPECT_EQ(l.main, seen.owner);
        EXPECT_TRUE(seen.yesNo);
        EXPECT_EQ(::LoadIconW(NULL, IDI_QUESTION), seen.icon);
        ::Sleep(200);
        EXPECT_TRUE(::IsWindowVisible(l.main));
        EXPECT_TRUE(::IsWindowVisible(l.startPage));

        PostClick(l.btnClose);
        ASSERT_TRUE(AnswerMessageBox(kLauncherTitle, IDYES));
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(l.main); }));
    });
    EXPECT_EQ(IDCANCEL, m_result);
    EXPECT_EQ(nullptr, m_gameAfter);
    EXPECT_FALSE(::IsWindow(game));
    EXPECT_EQ(nullptr, m_mainPointerAfter);
}

// From the driver's thread: the launcher's keyboard focus is in the game page, and Space and Enter typed
// there ask nothing (on the close button, Space would ask to quit).
void ExpectKeysGoToTheGamePage(HWND hwndGame, const char* when) {
    SCOPED_TRACE(when);
    const HWND view = ::GetDlgItem(hwndGame, IDC_GAME_PAGE);
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(hwndGame, NULL), &info));
    EXPECT_TRUE(info.hwndFocus == view || ::IsChild(view, info.hwndFocus))
        << "focus on " << ::GetDlgCtrlID(info.hwndFocus);
    for (const WPARAM key : {WPARAM(VK_SPACE), WPARAM(VK_RETURN)}) {
        ::PostMessageW(info.hwndFocus, WM_KEYDOWN, key, 1);
        ::PostMessageW(info.hwndFocus, WM_CHAR, key == VK_SPACE ? L' ' : L'\r', 1);
        ::PostMessageW(info.hwndFocus, WM_KEYUP, key, 0xC0000001);
    }
    EXPECT_FALSE(AnswerMessageBox(kLauncherTitle, IDNO, nullptr, 1000)) << "a key asked to quit";
    EXPECT_TRUE(::IsWindowVisible(hwndGame));
}

TEST_F(MainWindow, GameLinkOpensTheGameWindowMaximisedAndItsCloseEndsTheLauncher) {
    LoopbackServer server(QXRV_TEST_START_PORT);
    ASSERT_TRUE(server.ok());
    const std::wstring first = server.Url(L"/play?id=7&client=1&zone=2");
    const std::wstring second = server.Url(L"/play?id=8&client=1");
    RunModal([&](const LauncherWindows& l) {
        // A link followed while the closing question is open is dropped, so that question never hides.
        PostClick(l.btnClose);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(l.main); }));
        FollowLink(l.startPage, IDC_START_PAGE, 1, first.c_str());
        ::Sleep(500);
        EXPECT_TRUE(::IsWindowVisible(l.main));
        EXPECT_FALSE(::IsWindowVisible(l.game));
        ASSERT_TRUE(AnswerMessageBox(kLauncherTitle, IDNO));
        ::Sleep(200);
        EXPECT_FALSE(::IsWindowVisible(l.game));

        FollowLink(l.startPage, IDC_START_PAGE, 1, first.c_str());
        ASSERT_TRUE(
            WaitUntil([&] { return ::IsWindowVisible(l.game) && !::IsWindowVisible(l.main); }, 10000));
        EXPECT_TRUE(::IsZoomed(l.game));
        const RECT work = WorkArea();
        const RECT game = WindowRectOf(l.game);
        EXPECT_TRUE(::EqualRect(&work, &game));
        EXPECT_TRUE(Shown(::GetDlgItem(l.game, IDC_RESTORE)));
        EXPECT_FALSE(Shown(::GetDlgItem(l.game, IDC_MAXIMIZE)));
        EXPECT_FALSE(::IsWindowVisible(l.main));
        EXPECT_FALSE(::IsWindowVisible(l.startPage));
        ExpectKeysGoToTheGamePage(l.game, "first game link");
        // The start page came from the test's server; the game page went there without the marker, and the
        // link's own navigation never did.
        EXPECT_TRUE(server.Saw("GET /weiduan/lyc "));
        EXPECT_TRUE(WaitUntil([&] { return server.Saw("GET /play?id=7&zone=2 "); }));
        EXPECT_FALSE(server.Saw("client=1"));

        // The player restores the window, then follows another game link from inside the game page.
        PostClick(::GetDlgItem(l.game, IDC_RESTORE));
        EXPECT_TRUE(WaitUntil([&] { return !::IsZoomed(l.game); }));
        FollowLink(l.game, IDC_GAME_PAGE, 2, second.c_str());
        EXPECT_TRUE(WaitUntil([&] { return server.Saw("GET /play?id=8 "); }));
        EXPECT_TRUE(WaitUntil([&] { return ::IsZoomed(l.game) != FALSE; }));
        EXPECT_TRUE(Shown(::GetDlgItem(l.game, IDC_RESTORE)));
        EXPECT_FALSE(Shown(::GetDlgItem(l.game, IDC_MAXIMIZE)));
        EXPECT_EQ(l.game, FindLauncherWindows().game) << "the same game window";
        ExpectKeysGoToTheGamePage(l.game, "second game link");

        SeenMessageBox seen;
        PostClick(::GetDlgItem(l.game, IDC_CLOSE));
        ASSERT_TRUE(AnswerMessageBox(kLauncherTitle, IDNO, &seen));
        EXPECT_EQ(kAskQuitRunning, seen.text);
        EXPECT_EQ(l.game, seen.owner);
        ::Sleep(200);
        EXPECT_TRUE(::IsWindowVisible(l.game));

        PostClick(::GetDlgItem(l.game, IDC_CLOSE));
        ASSERT_TRUE(AnswerMessageBox(kLauncherTitle, IDYES));
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(l.main); }));
    });
    EXPECT_EQ(IDCANCEL, m_result);
    EXPECT_EQ(nullptr, m_gameAfter);
    EXPECT_FALSE(::IsWindow(m_launcher.game));
}

// The page's document window inside a view's browser control.
HWND PageWindowOf(HWND hwndView) {
    for (HWND control = ::GetWindow(hwndView, GW_CHILD); control;
         control = ::GetWindow(control, GW_HWNDNEXT)) {
        if (HWND page = ::FindWindowExW(control, NULL, L"Internet Explorer_Server", NULL))
            return page;
    }
    return NULL;
}

// Whether the page covers the view's client area grown by one client edge on every side, as the view places
// its browser.
bool PageFillsView(HWND hwndView, std::string* pSeen) {
    RECT expected = {};
    ::GetClientRect(hwndView, &expected);
    ::MapWindowPoints(hwndView, NULL, reinterpret_cast<POINT*>(&expected), 2);
    ::InflateRect(&expected, ::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
    const RECT page = WindowRectOf(PageWindowOf(hwndView));
    char text[128];
    std::snprintf(text, sizeof(text), "page (%ld, %ld)-(%ld, %ld), view and its edge (%ld, %ld)-(%ld, %ld)",
                  page.left, page.top, page.right, page.bottom, expected.left, expected.top, expected.right,
                  expected.bottom);
    *pSeen = text;
    return PageWindowOf(hwndView) != NULL && ::EqualRect(&page, &expected);
}

TEST_F(MainWindow, PagesFillTheirViewsThroughEveryChangeOfSize) {
    // Wine's control follows its window when the window is moved; the fake, like the control on Windows,
    // sizes its page only when told to through SetObjectRects.
    FakeBrowserSession fake;
    ASSERT_TRUE(fake.ok());
    const std::wstring link = L"http://127.0.0.1:1/play?id=7&client=1";
    RunModal([&](const LauncherWindows& l) {
        std::string seen;
        EXPECT_TRUE(WaitUntil([&] { return PageFillsView(l.startView, &seen); }, 2000))
            << "start page: " << seen;

        FollowLink(l.startPage, IDC_START_PAGE, 1, link.c_str());
        ASSERT_TRUE(
            WaitUntil([&] { return ::IsWindowVisible(l.game) && !::IsWindowVisible(l.main); }, 10000));
        const HWND view = ::GetDlgItem(l.game, IDC_GAME_PAGE);
        EXPECT_TRUE(WaitUntil([&] { return PageFillsView(view, &seen); }, 2000)) << "game link: " << seen;

        PostClick(::GetDlgItem(l.game, IDC_RESTORE));
        ASSERT_TRUE(WaitUntil([&] { return !::IsZoomed(l.game); }));
        EXPECT_TRUE(WaitUntil([&] { return PageFillsView(view, &seen); }, 2000)) << "restored: " << seen;

        ::SetWindowPos(l.game, NULL, 0, 0, 1000, 700, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_TRUE(WaitUntil([&] { return PageFillsView(view, &seen); }, 2000)) << "resized: " << seen;

        PostClick(::GetDlgItem(l.game, IDC_MAXIMIZE));
        ASSERT_TRUE(WaitUntil([&] { return ::IsZoomed(l.game) != FALSE; }));
        EXPECT_TRUE(WaitUntil([&] { return PageFillsView(view, &seen); }, 2000)) << "maximised: " << seen;
    });
}

TEST_F(MainWindow, GameUrlsNoViewPostedAreIgnored) {
    CString lookalike(L"http://127.0.0.1:1/play?id=9");
    RunModal([&](const LauncherWindows& l) {
        const WPARAM foreign[] = {0, 1, reinterpret_cast<WPARAM>(&lookalike)};
        for (const WPARAM wParam : foreign)
            ::PostMessageW(l.main, WM_OPEN_GAME_URL, wParam, IDC_START_PAGE);
        ::Sleep(500);
        EXPECT_FALSE(::IsWindowVisible(l.game));
        EXPECT_TRUE(::IsWindowVisible(l.main));
    });
    EXPECT_STREQ(L"http://127.0.0.1:1/play?id=9", lookalike);
}

} // namespace
