// The game window on its own: its start state, layout, shape, painted frame, caption timer, buttons and keys.
#include "app/DlgQXRVGameWnd.h"
#include "app/LauncherText.h"
#include "app/QuitQuestion.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "skin/MemoryPicture.h"
#include "tests/app/AppTestKit.h"
#include "tests/support/FakeBrowser.h"
#include "tests/support/GdiCount.h"
#include "tests/support/Pump.h"
#include "webview/PostedString.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace qxrv::test;

namespace {

class GameWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_session.ok());
        m_pGame = std::make_unique<CDlgQXRVGameWnd>();
        ASSERT_TRUE(m_pGame->Create(IDD_GAME, CWnd::FromHandle(::GetDesktopWindow())));
        PumpPending();
    }

    void TearDown() override {
        if (m_pGame && m_pGame->GetSafeHwnd())
            m_pGame->DestroyWindow();
        m_pGame.reset();
        PumpPending();
    }

    HWND Game() const { return m_pGame->GetSafeHwnd(); }
    SIZE ClientSize() const {
        RECT rc = {};
        ::GetClientRect(Game(), &rc);
        return {rc.right, rc.bottom};
    }
    // Shows the window restored and lets it paint.
    void ShowAndPaint() {
        m_pGame->ShowWindow(SW_SHOWNORMAL);
        ::UpdateWindow(Game());
        PumpFor(100);
    }
    POINT Origin() const {
        const RECT rc = WindowRectOf(Game());
        return {rc.left, rc.top};
    }

    FakeBrowserSession m_session; // first: the window below goes before it
    std::unique_ptr<CDlgQXRVGameWnd> m_pGame;
};

TEST_F(GameWindow, StartsHiddenAndRestoredWithItsTitleAndIcon) {
    EXPECT_FALSE(::IsWindowVisible(Game()));
    EXPECT_EQ(NULL, ::GetWindow(Game(), GW_OWNER));
    wchar_t title[64] = {};
    ::GetWindowTextW(Game(), title, 64);
    EXPECT_STREQ(kLauncherTitle, title);

    const HICON icon = ::LoadIconW(::GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon), ::SendMessageW(Game(), WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon), ::SendMessageW(Game(), WM_GETICON, ICON_SMALL, 0));

    const DWORD style = static_cast<DWORD>(::GetWindowLongW(Game(), GWL_STYLE));
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(Shown(m_pGame->m_btnRestore.GetSafeHwnd()));
    EXPECT_TRUE(Shown(m_pGame->m_btnMaximize.GetSafeHwnd()));
    EXPECT_TRUE(Shown(m_pGame->m_btnMinimize.GetSafeHwnd()));
    EXPECT_TRUE(Shown(m_pGame->m_btnClose.GetSafeHwnd()));
    EXPECT_TRUE(Shown(m_pGame->m_web.GetSafeHwnd()));
}

// The size the window asks for and the size the platform grants through the minimum tracking size.
struct SizeRequest {
    int cx, cy;
    POINT minTrackAfter; // ptMinTrackSize once WM_GETMINMAXINFO of this request was answered
};
std::vector<SizeRequest>* g_pRequests = nullptr;
HWND g_hwndWatched = NULL;

LRESULT CALLBACK LogSizeRequest(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_pRequests) {
        const CWPSTRUCT* p = reinterpret_cast<CWPSTRUCT*>(lParam);
        if (p->message == WM_INITDIALOG && g_hwndWatched == NULL)
            g_hwndWatched = p->hwnd;
        if (p->hwnd == g_hwndWatched && p->message == WM_WINDOWPOSCHANGING) {
            const WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(p->lParam);
            if (!(pos->flags & SWP_NOSIZE))
                g_pRequests->push_back({pos->cx, pos->cy, {-1, -1}});
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

LRESULT CALLBACK LogMinMaxAnswer(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_pRequests && !g_pRequests->empty()) {
        const CWPRETSTRUCT* p = reinterpret_cast<CWPRETSTRUCT*>(lParam);
        if (p->hwnd == g_hwndWatched && p->message == WM_GETMINMAXINFO &&
            g_pRequests->back().minTrackAfter.x == -1)
            g_pRequests->back().minTrackAfter = reinterpret_cast<MINMAXINFO*>(p->lParam)->ptMinTrackSize;
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

TEST_F(GameWindow, FirstSizeRequestIs960x600AndTheMinimumTrackSizeWins) {
    std::vector<SizeRequest> requests;
    g_pRequests = &requests;
    g_hwndWatched = NULL;
    HHOOK before = ::SetWindowsHookExW(WH_CALLWNDPROC, LogSizeRequest, NULL, ::GetCurrentThreadId());
    HHOOK after = ::SetWindowsHookExW(WH_CALLWNDPROCRET, LogMinMaxAnswer, NULL, ::GetCurrentThreadId());
    CDlgQXRVGameWnd game;
    const BOOL created = game.Create(IDD_GAME, CWnd::FromHandle(::GetDesktopWindow()));
    ::UnhookWindowsHookEx(after);
    ::UnhookWindowsHookEx(before);
    g_pRequests = nullptr;
    ASSERT_TRUE(created);
    ASSERT_EQ(game.GetSafeHwnd(), g_hwndWatched);

    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(960, requests.front().cx);
    EXPECT_EQ(600, requests.front().cy);
    // The limits were in place when the platform checked the request.
    EXPECT_EQ(800, requests.front().minTrackAfter.x);
    EXPECT_EQ(640, requests.front().minTrackAfter.y);
    const RECT rc = WindowRectOf(game.GetSafeHwnd());
    EXPECT_EQ(960, rc.right - rc.left);
    EXPECT_EQ(640, rc.bottom - rc.top);
    // Centred in the work area by that size.
    const RECT work = WorkArea();
    EXPECT_EQ((work.left + work.right) / 2 - 480, rc.left);
    EXPECT_EQ((work.top + work.bottom) / 2 - 320, rc.top);
    game.DestroyWindow();
}

TEST_F(GameWindow, LaysOutButtonsAndPageInsideTheFrame) {
    const SIZE client = ClientSize();
    ASSERT_EQ(960, client.cx);
    struct Row {
        const char* name;
        const CWnd* pChild;
        RECT expected;
    } rows[] = {
        {"minimise", &m_pGame->m_btnMinimize, {870, 0, 898, 27}},
        {"maximise", &m_pGame->m_btnMaximize, {898, 0, 926, 27}},
        {"restore", &m_pGame->m_btnRestore, {898, 0, 926, 27}},
        {"close", &m_pGame->m_btnClose, {926, 0, 960, 27}},
        {"page", &m_pGame->m_web, {3, 27, 957, client.cy - 3}},
    };
    for (const Row& row : rows) {
        const RECT rc = ChildRectOf(row.pChild->GetSafeHwnd());
        EXPECT_EQ(row.expected.left, rc.left) << row.name;
        EXPECT_EQ(row.expected.top, rc.top) << row.name;
        EXPECT_EQ(row.expected.right, rc.right) << row.name;
        EXPECT_EQ(row.expected.bottom, rc.bottom) << row.name;
    }
}

TEST_F(GameWindow, RegionCutsOnlyTheTopCorners) {
    for (const SIZE size : {SIZE{960, 640}, SIZE{1100, 700}}) {
        ::SetWindowPos(Game(), NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        const int w = size.cx;
        const int h = size.cy;
        HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, ::GetWindowRgn(Game(), rgn));
        struct Point {
            int x, y;
            bool inside;
        } points[] = {
            {0, 0, false},     {1, 0, false},     {0, 1, false},         {w - 1, 0, false},
            {w - 2, 0, false}, {w - 1, 1, false}, {w / 2, 0, true},      {3, 3, true},
            {0, 20, true},     {w - 1, 20, true}, {0, h - 1, true},      {w - 1, h - 1, true},
            {w, h, true},      {w / 2, 39, true}, {w + 1, h / 2, false}, {w / 2, h + 1, false},
        };
        for (const Point& p : points)
            EXPECT_EQ(p.inside, ::PtInRegion(rgn, p.x, p.y) != FALSE)
                << w << "x" << h << " at " << p.x << "," << p.y;
        // Exactly the system's shape for a caption band with a 6 x 6 corner ellipse over a square body.
        HRGN expected = ::CreateRoundRectRgn(0, 0, w + 1, 40, 6, 6);
        HRGN body = ::CreateRectRgn(0, 30, w + 1, h + 1);
        ::CombineRgn(expected, expected, body, RGN_OR);
        EXPECT_TRUE(::EqualRgn(expected, rgn)) << w << "x" << h;
        ::DeleteObject(body);
        ::DeleteObject(expected);
        ::DeleteObject(rgn);
    }
}

// The game window's shape on its own, at the size it first asks for and at a maximised size: all of the
// window but three pixels in each top corner, and the body reaching one column and one row past it.
TEST(GdiRegions, CombinedRoundBandAndBody) {
    for (const SIZE size : {SIZE{960, 600}, SIZE{1280, 1024}}) {
        const int w = size.cx;
        const int h = size.cy;
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        CRgn shape;
        ASSERT_TRUE(CDlgQXRVGameWnd::MakeWindowShape(shape, w, h));

        // Within the window: everything but the corner pixels.
        CRgn expected, within, corner;
        ASSERT_TRUE(expected.CreateRectRgn(0, 0, w, h));
        const RECT cut[] = {{0, 0, 2, 1}, {0, 1, 1, 2}, {w - 2, 0, w, 1}, {w - 1, 1, w, 2}};
        for (const RECT& rc : cut) {
            ASSERT_TRUE(corner.CreateRectRgnIndirect(&rc));
            ASSERT_NE(ERROR, expected.CombineRgn(&expected, &corner, RGN_DIFF));
        }
        ASSERT_TRUE(within.CreateRectRgn(0, 0, w, h));
        ASSERT_NE(ERROR, within.CombineRgn(&within, &shape, RGN_AND));
        EXPECT_TRUE(::EqualRgn(expected, within)) << "the window's own pixels";

        // Beyond it: the body's extra column and row below the band, and nothing further out.
        CRgn extra, outside;
        ASSERT_TRUE(extra.CreateRectRgn(0, 30, w + 1, h + 1));
        EXPECT_EQ(NULLREGION, extra.CombineRgn(&extra, &shape, RGN_DIFF)) << "the extra column and row";
        ASSERT_TRUE(outside.CreateRectRgn(0, 0, w + 1, h + 1));
        EXPECT_EQ(NULLREGION, outside.CombineRgn(&shape, &outside, RGN_DIFF))
            << "past the extra column or row";
    }
}

// The colour at a point of the window, as the screen shows it.
struct FramePixel {
    const char* where;
    int x, y; // negative: counted from the right or bottom edge (-1 is the last column or row)
    COLORREF colour;
};

TEST_F(GameWindow, PaintsTheFramePiecesAndTheCaptionText) {
    ShowAndPaint();
    const SIZE c = ClientSize();
    const POINT o = Origin();
    const FramePixel pixels[] = {
        {"caption outline", 100, 0, RGB(1, 37, 58)},
        {"caption light line", 100, 1, RGB(27, 127, 185)},
        {"caption gradient top", 400, 2, RGB(1, 59, 94)},
        {"caption gradient bottom", 400, 25, RGB(0, 100, 158)},
        {"caption last row", 400, 26, RGB(1, 55, 87)},
        {"left corner outline", 0, 10, RGB(1, 37, 58)},
        {"left corner bottom", 0, 27, RGB(1, 37, 58)},
        {"right corner bottom", -1, 27, RGB(1, 37, 58)},
        {"left edge outer", 0, c.cy / 2, RGB(23, 46, 72)},
        {"left edge middle", 1, c.cy / 2, RGB(20, 83, 136)},
        {"left edge inner", 2, c.cy / 2, RGB(25, 99, 154)},
        {"right edge outer", -1, c.cy / 2, RGB(23, 46, 72)},
        {"right edge inner", -3, c.cy / 2, RGB(25, 99, 154)},
        {"bottom edge", c.cx / 2, -3, RGB(43, 151, 223)},
        {"bottom edge", c.cx / 2, -2, RGB(40, 165, 222)},
        {"bottom edge outer", c.cx / 2, -1, RGB(122, 220, 252)},
        {"bottom-left corner", 1, -1, RGB(122, 220, 252)},
        {"bottom-right corner", -1, -2, RGB(23, 46, 72)},
    };
    for (const FramePixel& p : pixels) {
        const int x = p.x < 0 ? c.cx + p.x : p.x;
        const int y = p.y < 0 ? c.cy + p.y : p.y;
        EXPECT_EQ(p.colour, ScreenPixel(o.x + x, o.y + y)) << p.where << " at " << x << "," << y;
    }

    // White text starting at (12, 5) over the blue bar, and none further along the caption.
    int white = 0;
    for (int y = 5; y < 24; ++y)
        for (int x = 12; x < 140; ++x)
            white += ScreenPixel(o.x + x, o.y + y) == RGB(255, 255, 255);
    EXPECT_GT(white, 20);
    int whiteElsewhere = 0;
    for (int y = 2; y < 26; ++y)
        for (int x = 400; x < 500; ++x)
            whiteElsewhere += ScreenPixel(o.x + x, o.y + y) == RGB(255, 255, 255);
    EXPECT_EQ(0, whiteElsewhere);
    int whiteAbove = 0;
    for (int x = 12; x < 140; ++x)
        whiteAbove += ScreenPixel(o.x + x, o.y + 4) == RGB(255, 255, 255);
    EXPECT_EQ(0, whiteAbove) << "nothing white above the text's top";

    // The caption is the program's name whatever the window's title says.
    auto captionPixels = [&] {
        std::vector<COLORREF> pixels;
        for (int y = 3; y < 27; ++y)
            for (int x = 6; x < 200; ++x)
                pixels.push_back(ScreenPixel(o.x + x, o.y + y));
        return pixels;
    };
    const std::vector<COLORREF> caption = captionPixels();
    m_pGame->SetWindowText(L"Another title");
    ::RedrawWindow(Game(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpFor(50);
    EXPECT_TRUE(caption == captionPixels()) << "the caption changed with the title";
}

// The frame as a paint composed from nothing would give it: a new bitmap compatible with pDC, white, the
// eight pieces loaded and placed by their own sizes, then the caption in white in a new DC's own font at (12,
// 5), copied to pDC in one go.
void ComposeFrameAfresh(CDC* pDC, int w, int h) {
    CBitmap picture;
    CDC frameDC, pieceDC;
    ASSERT_TRUE(picture.CreateCompatibleBitmap(pDC, w, h));
    ASSERT_TRUE(frameDC.CreateCompatibleDC(pDC));
    ASSERT_TRUE(pieceDC.CreateCompatibleDC(NULL));
    CSelectScope selectPicture(frameDC, picture);
    frameDC.FillSolidRect(0, 0, w, h, RGB(255, 255, 255));
    auto sizeOf = [](UINT nID) {
        CBitmap bitmap;
        BITMAP bm = {};
        bitmap.LoadBitmap(nID);
        bitmap.GetBitmap(&bm);
        return SIZE{bm.bmWidth, bm.bmHeight};
    };
    const SIZE cl = sizeOf(IDB_FRAME_CAPTION_LEFT), cr = sizeOf(IDB_FRAME_CAPTION_RIGHT),
               cm = sizeOf(IDB_FRAME_CAPTION_MIDDLE), bl = sizeOf(IDB_FRAME_BOTTOM_LEFT),
               br = sizeOf(IDB_FRAME_BOTTOM_RIGHT), bm = sizeOf(IDB_FRAME_BOTTOM),
               le = sizeOf(IDB_FRAME_LEFT), ri = sizeOf(IDB_FRAME_RIGHT);
    const struct {
        UINT nID;
        RECT to; // x, y, width, height
        bool stretched;
    } pieces[] = {
        {IDB_FRAME_CAPTION_LEFT, {0, 0, cl.cx, cl.cy}, false},
        {IDB_FRAME_CAPTION_RIGHT, {w - cr.cx, 0, cr.cx, cr.cy}, false},
        {IDB_FRAME_CAPTION_MIDDLE, {cl.cx, 0, w - cl.cx - cr.cx, cm.cy}, true},
        {IDB_FRAME_BOTTOM_LEFT, {0, h - bl.cy, bl.cx, bl.cy}, false},
        {IDB_FRAME_BOTTOM_RIGHT, {w - br.cx, h - br.cy, br.cx, br.cy}, false},
        {IDB_FRAME_BOTTOM, {bl.cx, h - bm.cy, w - bl.cx - br.cx, bm.cy}, true},
        {IDB_FRAME_LEFT, {0, cl.cy, le.cx, h - cl.cy - bl.cy}, true},
        {IDB_FRAME_RIGHT, {w - ri.cx, cr.cy, ri.cx, h - cr.cy - br.cy}, true},
    };
    for (const auto& piece : pieces) {
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadBitmap(piece.nID));
        const SIZE own = sizeOf(piece.nID);
        CSelectScope selectPiece(pieceDC, bitmap);
        frameDC.StretchBlt(piece.to.left, piece.to.top, piece.to.right, piece.to.bottom, &pieceDC, 0, 0,
                           own.cx, own.cy, SRCCOPY);
    }
    ::SetTextColor(frameDC, RGB(255, 255, 255));
    ::SetBkMode(frameDC, TRANSPARENT);
    const std::wstring caption = std::wstring(kLauncherTitle) + L" "; // the title and one space
    ::TextOutW(frameDC, 12, 5, caption.c_str(), static_cast<int>(caption.size()));
    pDC->BitBlt(0, 0, w, h, &frameDC, 0, 0, SRCCOPY);
}

// Pixels of a 32-bit picture: (x, y) counted from the top-left corner, rows stored bottom-up.
COLORREF PictureAt(const CMemoryPicture& picture, int x, int y) {
    const SIZE size = picture.Size();
    return ColourOfPixel(reinterpret_cast<const DWORD*>(picture.Bits())[(size.cy - 1 - y) * size.cx + x]);
}

// How many pixels of its own frame the game window shows on screen unlike `expected`: every pixel inside the
// window's shape that none of its visible children covers.
size_t FramePixelsOnScreenUnlike(HWND game, const CMemoryPicture& expected) {
    const RECT window = WindowRectOf(game);
    const SIZE size = {window.right - window.left, window.bottom - window.top};
    const std::vector<COLORREF> shot = ScreenPixels(window);
    if (shot.size() != static_cast<size_t>(size.cx) * size.cy)
        return SIZE_MAX;

    std::vector<RECT> covered;
    for (HWND child = ::GetWindow(game, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child))
            covered.push_back(ChildRectOf(child));
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    const bool hasShape = ::GetWindowRgn(game, shape) != ERROR;
    size_t wrong = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            const POINT pt = {x, y};
            bool hidden = hasShape && !::PtInRegion(shape, x, y);
            for (const RECT& rc : covered)
                hidden = hidden || ::PtInRect(&rc, pt);
            wrong += !hidden && shot[static_cast<size_t>(y) * size.cx + x] != PictureAt(expected, x, y);
        }
    ::DeleteObject(shape);
    return wrong;
}

// Whatever changes the window's size, the frame on screen is a compose of the whole window at the new size:
// its own maximise and restore buttons, and sizes set from outside, larger, smaller and larger again, and
// shorter and taller at the same width. So is a paint at that size, right after the change and from the kept
// picture.
TEST_F(GameWindow, FramePaintsAreTheFreshComposeAtEverySize) {
    ShowAndPaint();
    auto setSize = [this](int cx, int cy) {
        return [this, cx, cy] { ::SetWindowPos(Game(), NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER); };
    };
    const struct {
        const char* name;
        std::function<void()> change;
        bool heightAlone; // the width stays: a size check that looks at the width only misses the change
    } changes[] = {
        {"maximised", [&] { PostClick(m_pGame->m_btnMaximize.GetSafeHwnd()); }, false},
        {"restored", [&] { PostClick(m_pGame->m_btnRestore.GetSafeHwnd()); }, false},
        {"set to 1100 x 760", setSize(1100, 760), false},
        {"set to 960 x 640", setSize(960, 640), false},
        {"set to 1100 x 760 again", setSize(1100, 760), false},
        {"set to 1100 x 700, shorter alone", setSize(1100, 700), true},
        {"set to 1100 x 790, taller alone", setSize(1100, 790), true},
    };
    SIZE before = ClientSize();
    for (const auto& step : changes) {
        SCOPED_TRACE(step.name);
        step.change();
        PumpFor(150);
        const SIZE size = ClientSize();
        ASSERT_FALSE(size.cx == before.cx && size.cy == before.cy) << "the size did not change";
        if (step.heightAlone) {
            ASSERT_EQ(before.cx, size.cx) << "the width changed too";
        }
        before = size;
        const size_t nPixels = static_cast<size_t>(size.cx) * size.cy;
        CMemoryPicture expected;
        ASSERT_TRUE(expected.CreateDib(NULL, size));
        ComposeFrameAfresh(&expected.DC(), size.cx, size.cy);
        ::GdiFlush();
        EXPECT_EQ(0u, FramePixelsOnScreenUnlike(Game(), expected)) << "frame pixels on screen";

        for (const char* paint : {"after the change", "again at that size"}) {
            SCOPED_TRACE(paint);
            CMemoryPicture painted;
            ASSERT_TRUE(painted.CreateDib(NULL, size));
            std::memset(painted.Bits(), 0x55, 4 * nPixels); // what a paint left alone would show
            m_pGame->DrawFrame(&painted.DC());
            ::GdiFlush();
            const DWORD* pGot = reinterpret_cast<const DWORD*>(painted.Bits());
            const DWORD* pWant = reinterpret_cast<const DWORD*>(expected.Bits());
            size_t wrong = 0;
            for (size_t i = 0; i < nPixels; ++i)
                wrong += pGot[i] != pWant[i];
            EXPECT_EQ(0u, wrong) << "pixels unlike a compose from nothing";
        }
    }
}

int g_captionTicks = 0;

LRESULT CALLBACK CountCaptionTicks(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* m = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && m->message == WM_TIMER && m->wParam == 1)
        ++g_captionTicks;
    return CallNextHookEx(NULL, code, wParam, lParam);
}

TEST_F(GameWindow, CaptionTimerInvalidatesOnlyTheCaptionText) {
    ShowAndPaint();
    HRGN update = ::CreateRectRgn(0, 0, 0, 0);
    HRGN caption = ::CreateRectRgn(3, 3, 200, 40);
    for (const UINT_PTR id : {UINT_PTR(1), UINT_PTR(2), UINT_PTR(77)}) {
        ::ValidateRect(Game(), NULL);
        ::SendMessageW(Game(), WM_TIMER, id, 0);
        const int kind = ::GetUpdateRgn(Game(), update, FALSE);
        if (id == 1)
            EXPECT_TRUE(::EqualRgn(update, caption)) << "timer " << id;
        else
            EXPECT_EQ(NULLREGION, kind) << "timer " << id;
    }
    ::DeleteObject(caption);
    ::DeleteObject(update);

    // The real timer ticks once a second for as long as the window lives.
    g_captionTicks = 0;
    HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, CountCaptionTicks, NULL, ::GetCurrentThreadId());
    PumpFor(2300);
    ::UnhookWindowsHookEx(hook);
    EXPECT_GE(g_captionTicks, 2);
    EXPECT_LE(g_captionTicks, 3);
}

TEST_F(GameWindow, MaximiseAndRestoreSwapTheirButtons) {
    const RECT work = WorkArea();

    // From hidden, as the hand-over does it: the window comes up over the whole work area.
    PostClick(m_pGame->m_btnMaximize.GetSafeHwnd());
    PumpFor(100);
    EXPECT_TRUE(::IsWindowVisible(Game()));
    EXPECT_TRUE(::IsZoomed(Game()));
    const RECT zoomed = WindowRectOf(Game());
    EXPECT_TRUE(::EqualRect(&work, &zoomed));
    EXPECT_TRUE(Shown(m_pGame->m_btnRestore.GetSafeHwnd()));
    EXPECT_FALSE(Shown(m_pGame->m_btnMaximize.GetSafeHwnd()));
    const SIZE c = ClientSize();
    EXPECT_EQ(c.cx - 62, ChildRectOf(m_pGame->m_btnRestore.GetSafeHwnd()).left);
    EXPECT_EQ(c.cx - 34, ChildRectOf(m_pGame->m_btnClose.GetSafeHwnd()).left);

    PostClick(m_pGame->m_btnRestore.GetSafeHwnd());
    PumpFor(100);
    EXPECT_FALSE(::IsZoomed(Game()));
    EXPECT_EQ(960, ClientSize().cx);
    EXPECT_FALSE(Shown(m_pGame->m_btnRestore.GetSafeHwnd()));
    EXPECT_TRUE(Shown(m_pGame->m_btnMaximize.GetSafeHwnd()));

    // From shown. (Wine without a window manager does not keep the size of a shown window that is maximised
    // and then reshaped, so only the state is checked here.)
    PostClick(m_pGame->m_btnMaximize.GetSafeHwnd());
    PumpFor(100);
    EXPECT_TRUE(::IsZoomed(Game()));
    EXPECT_TRUE(Shown(m_pGame->m_btnRestore.GetSafeHwnd()));
    EXPECT_FALSE(Shown(m_pGame->m_btnMaximize.GetSafeHwnd()));

    // A restore from elsewhere leaves the buttons alone: only the handlers swap them.
    m_pGame->ShowWindow(SW_RESTORE);
    PumpFor(50);
    EXPECT_FALSE(::IsZoomed(Game()));
    EXPECT_TRUE(Shown(m_pGame->m_btnRestore.GetSafeHwnd()));
    EXPECT_FALSE(Shown(m_pGame->m_btnMaximize.GetSafeHwnd()));
}

TEST_F(GameWindow, MinimisingLeavesTheLayoutAndRestoringRedoesIt) {
    ShowAndPaint();
    HWND minimize = m_pGame->m_btnMinimize.GetSafeHwnd();
    // Out of place, so only a new layout can put it back.
    ::SetWindowPos(minimize, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HRGN before = ::CreateRectRgn(0, 0, 0, 0);
    ::GetWindowRgn(Game(), before);

    PostClick(minimize);
    PumpFor(100);
    ASSERT_TRUE(::IsIconic(Game()));
    EXPECT_EQ(0, ChildRectOf(minimize).left);
    HRGN during = ::CreateRectRgn(0, 0, 0, 0);
    ::GetWindowRgn(Game(), during);
    EXPECT_TRUE(::EqualRgn(before, during)) << "the region stays while minimised";

    m_pGame->ShowWindow(SW_RESTORE);
    PumpFor(100);
    EXPECT_FALSE(::IsIconic(Game()));
    EXPECT_EQ(ClientSize().cx - 90, ChildRectOf(minimize).left);
    ::DeleteObject(during);
    ::DeleteObject(before);
}

WNDPROC g_pageProc = NULL;
int g_enterDowns = 0;

LRESULT CALLBACK CountEnterDowns(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN)
        ++g_enterDowns;
    return ::CallWindowProcW(g_pageProc, hwnd, message, wParam, lParam);
}

TEST_F(GameWindow, EnterGoesToThePageAndNothingClosesTheWindow) {
    ShowAndPaint();
    MSG enter = {Game(), WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {0, 0}};
    EXPECT_FALSE(m_pGame->PreTranslateMessage(&enter));

    FakeBrowser* pFake = FakeBrowser::ForHost(m_pGame->m_web.GetSafeHwnd());
    ASSERT_NE(nullptr, pFake);
    ::SetFocus(pFake->serverWindow());
    ASSERT_EQ(pFake->serverWindow(), ::GetFocus());
    g_enterDowns = 0;
    g_pageProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(pFake->serverWindow(), GWLP_WNDPROC,
                                                               reinterpret_cast<LONG_PTR>(CountEnterDowns)));
    ::PostMessageW(pFake->serverWindow(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PumpFor(100, true);
    ::SetWindowLongPtrW(pFake->serverWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pageProc));
    // The page got the key: the dialog manager did not turn it into the OK command.
    EXPECT_EQ(1, g_enterDowns);
    EXPECT_TRUE(::IsWindowVisible(Game())) << "Enter";

    struct Attempt {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } attempts[] = {
        {"Escape", WM_KEYDOWN, VK_ESCAPE, 0x00010001},
        {"WM_CLOSE", WM_CLOSE, 0, 0},
        {"system Close", WM_SYSCOMMAND, SC_CLOSE, 0},
        {"cancel command", WM_COMMAND, IDCANCEL, 0},
    };
    for (const Attempt& a : attempts) {
        const HWND target = a.message == WM_KEYDOWN ? pFake->serverWindow() : Game();
        ::PostMessageW(target, a.message, a.wParam, a.lParam);
        PumpFor(50, true);
        EXPECT_TRUE(::IsWindowVisible(Game())) << a.name;
        EXPECT_TRUE(::IsWindow(Game())) << a.name;
    }
    PostAltF4(Game());
    PumpFor(50, true);
    EXPECT_TRUE(::IsWindowVisible(Game())) << "Alt+F4";
}

// Caption-button clicks that reach the game window.
HWND g_hwndClicksTo = NULL;
int g_buttonClicks = 0;

LRESULT CALLBACK CountButtonClicks(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* p = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && p->hwnd == g_hwndClicksTo && p->message == WM_COMMAND &&
        HIWORD(p->wParam) == BN_CLICKED)
        ++g_buttonClicks;
    return CallNextHookEx(NULL, code, wParam, lParam);
}

// Space and Enter as the keyboard sends them to the window with the focus; returns how many button clicks
// they caused. The closing question is held off meanwhile, so a click on the close button counts instead of
// waiting for an answer.
int TypeSpaceAndEnter(HWND hwndGame) {
    g_hwndClicksTo = hwndGame;
    g_buttonClicks = 0;
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, CountButtonClicks, NULL, ::GetCurrentThreadId());
    QuitQuestionOpen() = true;
    for (const WPARAM key : {WPARAM(VK_SPACE), WPARAM(VK_RETURN)}) {
        const LPARAM scan = (key == VK_SPACE ? 0x39 : 0x1C) << 16;
        const HWND hwndFocus = ::GetFocus();
        ::PostMessageW(hwndFocus, WM_KEYDOWN, key, scan | 1);
        ::PostMessageW(hwndFocus, WM_CHAR, key == VK_SPACE ? L' ' : L'\r', scan | 1);
        ::PostMessageW(hwndFocus, WM_KEYUP, key, scan | 0xC0000001);
        PumpFor(50, true);
    }
    QuitQuestionOpen() = false;
    ::UnhookWindowsHookEx(hook);
    return g_buttonClicks;
}

// Whenever the window comes up, keys go to the game page: never to a caption button, where Space would ask
// to quit. Windows' control takes the focus when it is UI-activated; Wine's does not, and the view then gives
// it to the page's document window itself.
TEST_F(GameWindow, WhenShownRestoredOrActivatedAgainKeysGoToThePage) {
    FakeBrowser* pFake = FakeBrowser::ForHost(m_pGame->m_web.GetSafeHwnd());
    ASSERT_NE(nullptr, pFake);
    // The page asked for a new window once: the hidden pop-up browser inside the view has a document window
    // too, and must not get the keys.
    ASSERT_NE(nullptr, pFake->RequestNewWindow(L"http://127.0.0.1:1/popup"));
    ASSERT_NE(nullptr, m_pGame->m_web.GetPopupBrowser());
    ::SetWindowPos(m_pGame->m_web.GetPopupBrowser()->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, NULL, L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL));
    auto expectKeysInPage = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(pFake->serverWindow(), ::GetFocus());
        EXPECT_EQ(0, TypeSpaceAndEnter(Game()));
        EXPECT_TRUE(::IsWindowVisible(Game()));
    };
    for (const bool takesFocus : {true, false}) {
        SCOPED_TRACE(takesFocus ? "control takes the focus" : "control leaves the focus");
        pFake->focusOnUIActivate = takesFocus;
        m_pGame->ShowWindow(SW_HIDE);
        ::SetForegroundWindow(other.GetSafeHwnd());
        PumpFor(50);

        // As the launcher hands a game link over.
        m_pGame->ShowWindow(SW_MAXIMIZE);
        m_pGame->m_btnRestore.ShowWindow(SW_SHOW);
        m_pGame->m_btnMaximize.ShowWindow(SW_HIDE);
        PumpFor(100);
        expectKeysInPage("shown for a game link");

        m_pGame->ShowWindow(SW_MINIMIZE);
        PumpFor(100);
        m_pGame->ShowWindow(SW_RESTORE);
        PumpFor(100);
        expectKeysInPage("minimised and restored");

        // Tabbed to a caption button, away to another window and back.
        ::SetFocus(m_pGame->m_btnClose.GetSafeHwnd());
        ::SetForegroundWindow(other.GetSafeHwnd());
        PumpFor(50);
        ::SetForegroundWindow(Game());
        PumpFor(100);
        expectKeysInPage("activated again");

        // A click takes the focus to the restore button, which then hides itself.
        PostClick(m_pGame->m_btnRestore.GetSafeHwnd());
        PumpFor(100);
        ASSERT_FALSE(Shown(m_pGame->m_btnRestore.GetSafeHwnd()));
        expectKeysInPage("restore button clicked");

        // A game link followed while the window shows behind another: the focus change activates it, and
        // that activation must not UI-activate the control again from inside its own activation.
        ::SetForegroundWindow(other.GetSafeHwnd());
        PumpFor(50);
        pFake->deepestUIActivation = 0;
        m_pGame->FocusGamePage();
        PumpFor(100);
        EXPECT_EQ(1, pFake->deepestUIActivation);
        expectKeysInPage("link followed behind another window");
    }
    // The buttons are still tab stops: Tab and the mouse reach them.
    EXPECT_TRUE(::GetWindowLongW(m_pGame->m_btnClose.GetSafeHwnd(), GWL_STYLE) & WS_TABSTOP);
    other.DestroyWindow();
}

TEST_F(GameWindow, PageLoadsAreClaimedAndChangeNothingVisible) {
    ShowAndPaint();
    FakeBrowser* pFake = FakeBrowser::ForHost(m_pGame->m_web.GetSafeHwnd());
    ASSERT_NE(nullptr, pFake);
    const RECT before = WindowRectOf(Game());
    for (int i = 0; i < 3; ++i)
        pFake->CompleteDocument(L"http://127.0.0.1:1/game?id=7");
    EXPECT_EQ(3u, OutstandingPostedStrings());
    PumpFor(50);
    EXPECT_EQ(0u, OutstandingPostedStrings());
    const RECT after = WindowRectOf(Game());
    EXPECT_TRUE(::EqualRect(&before, &after));
    EXPECT_TRUE(::IsWindowVisible(Game()));

    // A wParam that no view posted is neither read nor freed.
    CString mine(L"not posted by a view");
    ::PostMessageW(Game(), WM_PAGE_LOADED, reinterpret_cast<WPARAM>(&mine), 0);
    ::PostMessageW(Game(), WM_PAGE_LOADED, 1, 0);
    ::PostMessageW(Game(), WM_PAGE_LOADED, 0, 0);
    PumpFor(50);
    EXPECT_STREQ(L"not posted by a view", mine);
}

TEST_F(GameWindow, PaintingWithoutADeviceContextDrawsNothingAndLeaksNothing) {
    ShowAndPaint();
    const GdiCounts gdiBefore = LiveGdiObjects();
    CDC none;
    m_pGame->DrawFrame(&none);
    EXPECT_EQ(gdiBefore, LiveGdiObjects());
}

TEST_F(GameWindow, PaintsAndResizesKeepTheGdiObjectCountFlat) {
    ShowAndPaint();
    const GdiCounts gdiBefore = LiveGdiObjects();
    for (int i = 0; i < 100; ++i) {
        ::SetWindowPos(Game(), NULL, 0, 0, 900 + (i % 7) * 20, 650 + (i % 5) * 10, SWP_NOMOVE | SWP_NOZORDER);
        ::InvalidateRect(Game(), NULL, FALSE);
        ::UpdateWindow(Game());
    }
    PumpPending();
    EXPECT_EQ(gdiBefore, LiveGdiObjects()) << "after 100 resizes and paints";
}

TEST_F(GameWindow, CloseAsksFirstAndNoChangesNothing) {
    ShowAndPaint();
    // A stand-in for the launcher's main window. Yes ends its dialog, which for a modeless one means it
    // hides.
    CWinApp app;
    CDialog standIn(IDD_GAME);
    ASSERT_TRUE(standIn.Create(IDD_GAME));
    standIn.ShowWindow(SW_SHOWNOACTIVATE);
    app.m_pMainWnd = &standIn;
    const RECT gameBefore = WindowRectOf(Game());

    // Clicks the close button and answers the question from another thread. False when no question came.
    auto clickCloseAndAnswer = [&](int nAnswer, SeenMessageBox* pSeen) {
        std::atomic<bool> done{false};
        bool answered = false; // the driver's, until it has been joined
        std::thread driver([&, game = Game()] {
            answered = AnswerMessageBox(kLauncherTitle, nAnswer, pSeen, 3000);
            done = true;
            ::PostMessageW(game, WM_NULL, 0, 0); // wakes the pump below
        });
        PostClick(m_pGame->m_btnClose.GetSafeHwnd());
        PumpUntil([&] { return done.load(); }, 4000);
        driver.join();
        PumpPending(); // the rest of the click
        return answered;
    };

    SeenMessageBox seen;
    ASSERT_TRUE(clickCloseAndAnswer(IDNO, &seen)) << "no question on the first click";
    EXPECT_EQ(kAskQuitRunning, seen.text);
    EXPECT_EQ(Game(), seen.owner);
    EXPECT_TRUE(seen.yesNo);
    EXPECT_EQ(::LoadIconW(NULL, IDI_QUESTION), seen.icon);
    EXPECT_TRUE(::IsWindowVisible(standIn.GetSafeHwnd())) << "No ended the main window";
    EXPECT_TRUE(::IsWindowVisible(Game()));
    EXPECT_TRUE(Shown(m_pGame->m_web.GetSafeHwnd()));
    const RECT gameAfter = WindowRectOf(Game());
    EXPECT_TRUE(::EqualRect(&gameBefore, &gameAfter));

    // Asked again after No, and this time Yes ends the main window; the game window is the main window's to
    // dispose of.
    seen = SeenMessageBox();
    ASSERT_TRUE(clickCloseAndAnswer(IDYES, &seen)) << "no question on the second click";
    EXPECT_EQ(kAskQuitRunning, seen.text);
    EXPECT_FALSE(::IsWindowVisible(standIn.GetSafeHwnd())) << "Yes did not end the main window";
    EXPECT_TRUE(::IsWindowVisible(Game()));

    // Yes with no main window left to end: nothing to do, and nothing breaks.
    app.m_pMainWnd = NULL;
    ASSERT_TRUE(clickCloseAndAnswer(IDYES, &seen)) << "no question on the third click";
    EXPECT_TRUE(::IsWindowVisible(Game()));
}

} // namespace
