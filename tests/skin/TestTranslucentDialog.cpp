// The layered dialog as the user sees it: pixels read back from the screen, where it starts, how its
// companion follows it, and how a press drags it.
#include "tests/skin/SkinTestSupport.h"

#include "res/resource.h"
#include "skin/PngResource.h"
#include "tests/skin/SkinTestRes.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/Pump.h"

#include <cstring>
#include <memory>
#include <string>

namespace skintest {
namespace {

const COLORREF kBackdropColour = RGB(200, 30, 30);
const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kYellow = RGB(255, 255, 0);

using LayeredDialogTest = SkinTest;

void Place(CWnd& wnd, int x, int y) {
    wnd.SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// Binds the template's two buttons to a and b, gives them their pictures and places them; the caller
// registers them in the order it wants.
void BindButtons(CTestLayeredDialog& dlg, CTestButton& a, CTestButton& b) {
    ASSERT_TRUE(a.SubclassDlgItem(IDC_MINIMIZE, &dlg));
    ASSERT_TRUE(b.SubclassDlgItem(IDC_CLOSE, &dlg));
    ASSERT_TRUE(a.LoadStateImages({IDB_TEST_RED, 0, IDB_TEST_YELLOW, 0, 0}));
    ASSERT_TRUE(b.LoadStateImages({IDB_TEST_BLUE, 0, IDB_TEST_YELLOW, 0, 0}));
    Place(a, 300, 200);
    Place(b, 320, 210); // overlaps a from (320, 210) to (340, 230)
}

// The dialog's set-up binds both buttons and registers a, then b.
void SetUpBoth(CTestLayeredDialog& dlg, CTestButton& a, CTestButton& b) {
    dlg.m_setUp = [&a, &b](CTestLayeredDialog& d) {
        BindButtons(d, a, b);
        d.AddLayerChild(&a);
        d.AddLayerChild(&b);
    };
}

TEST_F(LayeredDialogTest, ShowsItsBackgroundAsOneAlphaPicture) {
    CBackdrop backdrop(WholeScreen(), kBackdropColour);
    CTestLayeredDialog dlg;
    ASSERT_TRUE(dlg.CreateAndShow());

    CRect rect = WindowRectOf(dlg.m_hWnd);
    EXPECT_EQ(1208, rect.Width());
    EXPECT_EQ(621, rect.Height());
    EXPECT_EQ(0u, dlg.GetStyle() & WS_CAPTION);
    EXPECT_NE(0u, dlg.GetStyle() & WS_POPUP);
    EXPECT_NE(0u, dlg.GetExStyle() & WS_EX_LAYERED);
    EXPECT_EQ(AC_SRC_OVER, dlg.m_blendFunction.BlendOp);
    EXPECT_EQ(255, dlg.m_blendFunction.SourceConstantAlpha);
    EXPECT_EQ(AC_SRC_ALPHA, dlg.m_blendFunction.AlphaFormat);

    // Where the picture is transparent the backdrop shows; where it is opaque its colour is exact.
    Gdiplus::Image* pBackground = dlg.m_pBackground;
    int checkedClear = 0, checkedOpaque = 0;
    const POINT probes[] = {{0, 0}, {1207, 0}, {0, 620}, {1207, 620}, {604, 310}, {200, 300}, {900, 400}};
    for (const POINT& p : probes) {
        SCOPED_TRACE(testing::Message() << "picture point " << p.x << ", " << p.y);
        const Gdiplus::ARGB argb = ImagePixel(pBackground, p.x, p.y);
        const BYTE alpha = static_cast<BYTE>(argb >> 24);
        if (alpha == 0) {
            EXPECT_EQ(kBackdropColour, ScreenPixel(dlg.m_hWnd, {p.x, p.y}));
            ++checkedClear;
        } else if (alpha == 255) {
            EXPECT_EQ(ColourOfPixel(argb), ScreenPixel(dlg.m_hWnd, {p.x, p.y}));
            ++checkedOpaque;
        }
    }
    EXPECT_GE(checkedClear, 1) << "the background should have a transparent corner";
    EXPECT_GE(checkedOpaque, 1) << "the background should have opaque pixels";
}

TEST_F(LayeredDialogTest, ChildrenAreDrawnInRegistrationOrder) {
    const struct {
        bool firstRegisteredIsA;
        COLORREF overlap;
    } cases[] = {{true, kBlue}, {false, kRed}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstRegisteredIsA ? "a, then b" : "b, then a");
        CBackdrop backdrop(WholeScreen(), kBackdropColour);
        CTestButton a, b;
        CTestLayeredDialog dlg;
        dlg.m_setUp = [&](CTestLayeredDialog& d) {
            BindButtons(d, a, b);
            d.AddLayerChild(c.firstRegisteredIsA ? &a : &b);
            d.AddLayerChild(c.firstRegisteredIsA ? &b : &a);
        };
        ASSERT_TRUE(dlg.CreateAndShow());
        EXPECT_EQ(kRed, ScreenPixel(dlg.m_hWnd, {305, 205}));
        EXPECT_EQ(c.overlap, ScreenPixel(dlg.m_hWnd, {330, 220}));
        EXPECT_EQ(kBlue, ScreenPixel(dlg.m_hWnd, {355, 235}));
        EXPECT_EQ(0, dlg.m_nReports) << "registering and the first picture report nothing";
    }
}

TEST_F(LayeredDialogTest, HiddenChildIsNotDrawnButItsReportsRedraw) {
    CBackdrop backdrop(WholeScreen(), kBackdropColour);
    CTestButton a, b;
    CTestLayeredDialog dlg;
    dlg.m_setUp = [&](CTestLayeredDialog& d) {
        d.GetDlgItem(IDC_CLOSE)->ShowWindow(SW_HIDE); // b is hidden when it is attached
        BindButtons(d, a, b);
        d.AddLayerChild(&a);
        d.AddLayerChild(&b);
    };
    ASSERT_TRUE(dlg.CreateAndShow());
    EXPECT_FALSE(b.m_bShown);
    const COLORREF underB = ScreenPixel(dlg.m_hWnd, {355, 235});
    EXPECT_NE(kBlue, underB);
    EXPECT_EQ(kRed, ScreenPixel(dlg.m_hWnd, {330, 220}));

    // Showing the window later does not bring it into the picture.
    b.ShowWindow(SW_SHOW);
    // a's look changes without a report; b's report then redraws everything, a included.
    a.m_pShownImage = a.m_stateImages[2];
    b.SendMessage(WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(1, dlg.m_nReports);
    EXPECT_EQ(kYellow, ScreenPixel(dlg.m_hWnd, {330, 220}));
    EXPECT_EQ(underB, ScreenPixel(dlg.m_hWnd, {355, 235}));
}

TEST_F(LayeredDialogTest, HeldRedrawsChangeNothingUntilTheNextRedraw) {
    CBackdrop backdrop(WholeScreen(), kBackdropColour);
    CTestButton a, b;
    CTestLayeredDialog dlg;
    SetUpBoth(dlg, a, b);
    ASSERT_TRUE(dlg.CreateAndShow());
    ASSERT_EQ(kRed, ScreenPixel(dlg.m_hWnd, {305, 205}));

    dlg.m_bHoldRedraw = true;
    a.SendMessage(WM_MOUSEHOVER, 0, 0); // a now shows its hover picture, but the report is held
    b.SendMessage(WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(2, dlg.m_nReports);
    EXPECT_EQ(kRed, ScreenPixel(dlg.m_hWnd, {305, 205}));
    EXPECT_EQ(kBlue, ScreenPixel(dlg.m_hWnd, {355, 235}));

    dlg.m_bHoldRedraw = false;
    dlg.RedrawLayer();
    EXPECT_EQ(kYellow, ScreenPixel(dlg.m_hWnd, {305, 205}));
    EXPECT_EQ(kYellow, ScreenPixel(dlg.m_hWnd, {355, 235}));

    // And a report after the hold shows the current looks at once.
    a.SendMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(kRed, ScreenPixel(dlg.m_hWnd, {305, 205}));
}

// What UpdateLayeredWindowIndirect does in this process: the system's, counted; missing, as on Windows XP; or
// failing every call.
enum class PartialPush { Counted, Missing, Failing };
PartialPush g_partialPush = PartialPush::Counted;
int g_partialPushes = 0;
// Partial pushes whose destination DC was not the screen's, as the call asks, but another window's.
int g_pushesNotToTheScreen = 0;
decltype(&::GetProcAddress) g_realGetProcAddress = nullptr;
BOOL(WINAPI* g_realUpdateIndirect)(HWND, const UPDATELAYEREDWINDOWINFO*) = nullptr;

BOOL WINAPI CountedUpdateIndirect(HWND hWnd, const UPDATELAYEREDWINDOWINFO* pInfo) {
    ++g_partialPushes;
    if (pInfo->hdcDst != NULL && ::WindowFromDC(pInfo->hdcDst) != ::GetDesktopWindow())
        ++g_pushesNotToTheScreen;
    return g_realUpdateIndirect(hWnd, pInfo);
}

BOOL WINAPI FailingUpdateIndirect(HWND, const UPDATELAYEREDWINDOWINFO*) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

FARPROC WINAPI TestGetProcAddress(HMODULE module, LPCSTR name) {
    FARPROC real = g_realGetProcAddress(module, name);
    if (reinterpret_cast<ULONG_PTR>(name) <= 0xFFFF || std::strcmp(name, "UpdateLayeredWindowIndirect") != 0)
        return real;
    switch (g_partialPush) {
    case PartialPush::Counted:
        g_realUpdateIndirect =
            reinterpret_cast<decltype(g_realUpdateIndirect)>(reinterpret_cast<void*>(real));
        return real != nullptr ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&CountedUpdateIndirect))
                               : nullptr;
    case PartialPush::Missing:
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    case PartialPush::Failing:
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FailingUpdateIndirect));
    }
    return real;
}

// Looks UpdateLayeredWindowIndirect up through TestGetProcAddress for as long as it lives.
class CPartialPushPatch {
public:
    explicit CPartialPushPatch(PartialPush mode) {
        g_partialPush = mode;
        g_partialPushes = 0;
        g_pushesNotToTheScreen = 0;
        g_realGetProcAddress = reinterpret_cast<decltype(g_realGetProcAddress)>(qxrv::test::PatchImport(
            "kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&TestGetProcAddress)));
    }
    ~CPartialPushPatch() {
        if (g_realGetProcAddress != nullptr)
            qxrv::test::PatchImport("kernel32.dll", "GetProcAddress",
                                    reinterpret_cast<void*>(g_realGetProcAddress));
    }
    bool ok() const { return g_realGetProcAddress != nullptr; }
};

// What the screen shows of a picture over the backdrop, under Wine's layered windows without a compositor:
// the premultiplied colour, or the backdrop where a pixel is fully transparent.
COLORREF OverBackdrop(DWORD premultiplied) {
    if ((premultiplied >> 24) == 0)
        return kBackdropColour;
    return ColourOfPixel(premultiplied);
}

// Expects the dialog's kept picture, byte for byte, and the screen where the dialog stands (when it shows),
// to be what a whole compose from nothing gives.
void ExpectTheWholePicture(CTestLayeredDialog& dlg, bool bShowing) {
    const std::vector<DWORD> expected = dlg.ComposeAfresh();
    ASSERT_TRUE(dlg.m_layer.Picture().IsMade());
    const DWORD* pKept = reinterpret_cast<const DWORD*>(dlg.m_layer.Picture().Bits());
    size_t wrongBytes = 0;
    for (size_t i = 0; i < expected.size(); ++i)
        wrongBytes += pKept[i] != expected[i];
    EXPECT_EQ(0u, wrongBytes) << "pixels of the composed picture unlike a whole compose";
    if (!bShowing)
        return;
    CRect now = WindowRectOf(dlg.m_hWnd);
    const std::vector<COLORREF> screen = ScreenPixels(now);
    ASSERT_EQ(expected.size(), screen.size());
    size_t wrongOnScreen = 0;
    POINT firstWrong = {-1, -1};
    for (int y = 0; y < 621; ++y) {
        for (int x = 0; x < 1208; ++x) {
            const size_t bottomUp = static_cast<size_t>(620 - y) * 1208 + x;
            if (screen[static_cast<size_t>(y) * 1208 + x] != OverBackdrop(expected[bottomUp]) &&
                wrongOnScreen++ == 0)
                firstWrong = {x, y};
        }
    }
    EXPECT_EQ(0u, wrongOnScreen) << "pixels on the screen unlike the whole picture, the first at "
                                 << firstWrong.x << ", " << firstWrong.y;
}

// A redraw of only what changed gives the same bytes, and the same screen, as a whole picture composed from
// nothing, at every step a user can cause: looks of one or both buttons, a caption that changed without a
// report, a move, a hide and a show. The window stays where it stands. Checked with the partial hand-over as
// the system gives it, missing and failing.
TEST_F(LayeredDialogTest, EveryRedrawGivesTheWholePictureWhereTheWindowStands) {
    const struct {
        const char* what;
        PartialPush mode;
    } cases[] = {{"partial pushes", PartialPush::Counted},
                 {"no UpdateLayeredWindowIndirect", PartialPush::Missing},
                 {"UpdateLayeredWindowIndirect fails", PartialPush::Failing}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CPartialPushPatch patch(c.mode);
        ASSERT_TRUE(patch.ok());
        CBackdrop backdrop(WholeScreen(), kBackdropColour);
        CTestButton a, b;
        CTestLayeredDialog dlg;
        dlg.m_setUp = [&](CTestLayeredDialog& d) {
            // The launcher's own buttons, soft edges and overlap included.
            ASSERT_TRUE(a.SubclassDlgItem(IDC_MINIMIZE, &d));
            ASSERT_TRUE(b.SubclassDlgItem(IDC_CLOSE, &d));
            ASSERT_TRUE(
                a.LoadStateImages({IDB_MINIMIZE_NORMAL, 0, IDB_MINIMIZE_HOVER, IDB_MINIMIZE_PRESSED, 0}));
            ASSERT_TRUE(b.LoadStateImages({IDB_CLOSE_NORMAL, 0, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED, 0}));
            d.AddLayerChild(&a);
            d.AddLayerChild(&b);
            Place(a, 1100, 64);
            Place(b, 1130, 64);
        };
        ASSERT_TRUE(dlg.CreateAndShow());
        CRect place = WindowRectOf(dlg.m_hWnd);
        ASSERT_NE(CPoint(0, 0), place.TopLeft());

        auto check = [&](const std::string& step, bool bShowing) {
            SCOPED_TRACE(step);
            ExpectTheWholePicture(dlg, bShowing);
            CRect now = WindowRectOf(dlg.m_hWnd);
            EXPECT_EQ(place, now) << "a redraw moved or sized the window";
        };
        const LPARAM inside = MAKELPARAM(20, 20), outside = MAKELPARAM(200, 200);
        check("first picture", true);
        a.SendMessage(WM_MOUSEHOVER, 0, inside);
        check("minimise hovered", true);
        a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
        check("minimise pressed", true);
        a.SendMessage(WM_LBUTTONUP, 0, outside);
        check("minimise released outside", true);
        b.SendMessage(WM_MOUSEHOVER, 0, inside);
        check("close hovered, over the minimise button", true);

        // Two looks change with one report; a caption that changed alone shows with the next report.
        dlg.m_bHoldRedraw = true;
        a.SendMessage(WM_MOUSEHOVER, 0, inside);
        dlg.m_bHoldRedraw = false;
        b.SendMessage(WM_MOUSELEAVE, 0, 0);
        check("both buttons changed", true);
        a.SetWindowText(L"Go");
        a.SendMessage(WM_MOUSELEAVE, 0, 0);
        check("caption and look changed", true);
        // A child that moved draws at its new place, and where it was shows the background again.
        Place(a, 1150, 500);
        b.SendMessage(WM_MOUSEHOVER, 0, inside);
        check("a button moved", true);

        place = CRect(40, 30, 40 + 1208, 30 + 621);
        dlg.SetWindowPos(NULL, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        qxrv::test::PumpFor(50); // the backdrop repaints where the window was
        b.SendMessage(WM_MOUSEHOVER, 0, inside);
        check("look changed after a move", true);
        dlg.RedrawLayer();
        check("whole redraw after a move", true);

        dlg.ShowWindow(SW_HIDE);
        b.SendMessage(WM_MOUSELEAVE, 0, 0);
        check("look changed while hidden", false);
        dlg.ShowWindow(SW_SHOWNOACTIVATE);
        qxrv::test::PumpFor(50);
        check("shown again", true);
        a.SendMessage(WM_MOUSEHOVER, 0, inside);
        check("look changed after the show", true);

        if (c.mode == PartialPush::Counted) {
            EXPECT_GT(g_partialPushes, 4) << "looks should have been handed over in part";
            EXPECT_EQ(0, g_pushesNotToTheScreen);
        } else
            EXPECT_EQ(0, g_partialPushes);
    }
}

decltype(&Gdiplus::DllExports::GdipDrawImageRectI) g_realDrawImageRectI = nullptr;
Gdiplus::GpStatus WINGDIPAPI FailingDrawImageRectI(Gdiplus::GpGraphics*, Gdiplus::GpImage*, INT, INT, INT,
                                                   INT) {
    return Gdiplus::GenericError;
}

// A background that GDI+ could not draw is not kept: the next redraw draws it again.
TEST_F(LayeredDialogTest, ABackgroundThatFailedToDrawIsNotKept) {
    CBackdrop backdrop(WholeScreen(), kBackdropColour);
    CTestButton a, b;
    CTestLayeredDialog dlg;
    SetUpBoth(dlg, a, b);
    // The background is drawn with the integer form of DrawImage, the buttons with the REAL one.
    g_realDrawImageRectI = reinterpret_cast<decltype(g_realDrawImageRectI)>(qxrv::test::PatchImport(
        "gdiplus.dll", "GdipDrawImageRectI", reinterpret_cast<void*>(&FailingDrawImageRectI)));
    ASSERT_NE(nullptr, g_realDrawImageRectI);
    const bool created = dlg.CreateAndShow();
    qxrv::test::PatchImport("gdiplus.dll", "GdipDrawImageRectI",
                            reinterpret_cast<void*>(g_realDrawImageRectI));
    ASSERT_TRUE(created);
    ASSERT_EQ(kBackdropColour, ScreenPixel(dlg.m_hWnd, {604, 310}))
        << "the first picture should lack its background";

    a.SendMessage(WM_MOUSEHOVER, 0, 0);
    ExpectTheWholePicture(dlg, true);
}

TEST_F(LayeredDialogTest, StartsAtTheCaptionAdjustedCentre) {
    const RECT work = qxrv::test::WorkArea();
    RECT framed = {0, 0, 1208, 621};
    ::AdjustWindowRect(&framed, WS_CAPTION | DS_SETFONT, FALSE);
    const int W = framed.right - framed.left, H = framed.bottom - framed.top;
    ASSERT_GT(W, 1208) << "the template's caption must make the centring size larger";

    const struct {
        bool centred;
        POINT start; // where the window stands when its children are set up
    } cases[] = {
        {true, {work.left + (work.right - work.left - W) / 2, work.top + (work.bottom - work.top - H) / 2}},
        {false, {0, 0}}, // the template's own position
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.centred ? "centred" : "not centred");
        CTestLayeredDialog dlg;
        dlg.m_bStartCentred = c.centred;
        ASSERT_TRUE(dlg.Create(IDD_MAIN, NULL));
        const CRect atSetUp(dlg.m_rectAtSetUp);
        EXPECT_EQ(c.start.x, atSetUp.left);
        EXPECT_EQ(c.start.y, atSetUp.top);
        EXPECT_EQ(1208, atSetUp.Width());
        EXPECT_EQ(621, atSetUp.Height());
        // Hidden and unowned, it is then centred exactly by the framework, in both cases.
        CRect now = WindowRectOf(dlg.m_hWnd);
        EXPECT_EQ((work.left + work.right) / 2 - 604, now.left);
        EXPECT_EQ((work.top + work.bottom) / 2 - 310, now.top);
    }
}

// Counts its own destruction, to show the layered dialog deletes its companion.
class CCountedOverlay : public CTestOverlay {
public:
    CCountedOverlay(CWnd* pOwner, int* pDeleted) : CTestOverlay(pOwner), m_pDeleted(pDeleted) {}
    ~CCountedOverlay() override { ++*m_pDeleted; }

private:
    int* m_pDeleted;
};

TEST_F(LayeredDialogTest, CompanionFollowsAtItsOffsetOnEveryMoveAndSize) {
    int deleted = 0;
    {
        CTestLayeredDialog dlg;
        CTestOverlay* pOverlay = nullptr;
        bool visibleBeforeChildren = false;
        dlg.m_makeOverlay = [&](CTestLayeredDialog& d) {
            pOverlay = new CCountedOverlay(&d, &deleted);
            return pOverlay;
        };
        dlg.m_setUp = [&](CTestLayeredDialog&) {
            visibleBeforeChildren = pOverlay->IsWindowVisible() != FALSE;
        };
        ASSERT_TRUE(dlg.CreateAndShow());
        ASSERT_NE(nullptr, pOverlay);
        ASSERT_EQ(pOverlay, dlg.m_pOverlayDlg);
        EXPECT_TRUE(visibleBeforeChildren);
        EXPECT_EQ(dlg.m_hWnd, ::GetWindow(pOverlay->m_hWnd, GW_OWNER));

        CRect overlaySize = WindowRectOf(pOverlay->m_hWnd);
        auto overlayAt = [&] {
            CRect r = WindowRectOf(pOverlay->m_hWnd);
            EXPECT_EQ(overlaySize.Width(), r.Width());
            EXPECT_EQ(overlaySize.Height(), r.Height());
            return r.TopLeft();
        };
        // Offset (0, 0) so far: it sits on the dialog's corner.
        CRect rect = WindowRectOf(dlg.m_hWnd);
        EXPECT_EQ(rect.TopLeft(), overlayAt());

        struct Step {
            const char* what;
            POINT offset;
            int x, y, cx, cy; // the dialog's new place, or cx 0 to leave it alone
            POINT expected;
        } steps[] = {
            {"offset alone", {344, 88}, 0, 0, 0, 0, rect.TopLeft()},
            {"move", {344, 88}, 50, 60, 1208, 621, {394, 148}},
            {"another move", {344, 88}, -20, 10, 1208, 621, {324, 98}},
            {"new offset alone", {5, 7}, 0, 0, 0, 0, {324, 98}},
            {"size only", {5, 7}, -20, 10, 600, 300, {-15, 17}},
        };
        for (const Step& s : steps) {
            SCOPED_TRACE(s.what);
            pOverlay->SetOverlayOffset(s.offset);
            EXPECT_EQ(CPoint(s.offset), pOverlay->m_overlayOffset);
            if (s.cx != 0)
                dlg.SetWindowPos(NULL, s.x, s.y, s.cx, s.cy, SWP_NOZORDER | SWP_NOACTIVATE);
            EXPECT_EQ(CPoint(s.expected), overlayAt());
        }
        EXPECT_EQ(0, deleted);

        // Shown a second time, the dialog makes a new companion and deletes the first.
        dlg.DestroyWindow();
        ASSERT_TRUE(dlg.CreateAndShow());
        EXPECT_EQ(1, deleted);
        EXPECT_EQ(pOverlay, dlg.m_pOverlayDlg);
    }
    EXPECT_EQ(2, deleted);
}

TEST_F(LayeredDialogTest, WorksWithoutACompanion) {
    CTestLayeredDialog dlg;
    ASSERT_TRUE(dlg.CreateAndShow());
    EXPECT_EQ(nullptr, dlg.m_pOverlayDlg);
    dlg.SetWindowPos(NULL, 10, 20, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rect = WindowRectOf(dlg.m_hWnd);
    EXPECT_EQ(CRect(10, 20, 310, 220), rect);
}

TEST_F(LayeredDialogTest, LeftPressDragsOnlyWhenAskedTo) {
    const struct {
        bool dragToMove;
        bool onChild;
        size_t commands;
    } cases[] = {{true, false, 1}, {false, false, 0}, {true, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "drag " << c.dragToMove << ", on a child " << c.onChild);
        CTestButton a, b;
        CTestLayeredDialog dlg;
        dlg.m_bDragToMove = c.dragToMove;
        dlg.m_setUp = [&](CTestLayeredDialog& d) {
            BindButtons(d, a, b);
            d.AddLayerChild(&a);
        };
        ASSERT_TRUE(dlg.CreateAndShow());
        CWnd& target = c.onChild ? static_cast<CWnd&>(a) : static_cast<CWnd&>(dlg);
        target.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        target.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        ASSERT_EQ(c.commands, dlg.m_sysCommands.size());
        if (c.commands != 0) {
            EXPECT_EQ(static_cast<WPARAM>(SC_MOVE + HTCAPTION), dlg.m_sysCommands[0]);
        }
    }
}

TEST_F(LayeredDialogTest, MissingBackgroundIsAnEmptyPicture) {
    const struct {
        const char* what;
        bool loadMissing; // else no image object at all
    } cases[] = {{"no image object", false}, {"a picture that failed to load", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CBackdrop backdrop(WholeScreen(), kBackdropColour);
        CTestButton a, b;
        CTestLayeredDialog dlg;
        dlg.ReplaceBackground(c.loadMissing ? ImageFromPngResource(IDB_TEST_MISSING) : nullptr);
        dlg.m_setUp = [&](CTestLayeredDialog& d) {
            BindButtons(d, a, b);
            d.AddLayerChild(&a);
        };
        ASSERT_TRUE(dlg.CreateAndShow());
        CRect rect = WindowRectOf(dlg.m_hWnd);
        EXPECT_EQ(0, rect.Width());
        EXPECT_EQ(0, rect.Height());
        // Reports and redraws push nothing and do not fail.
        a.SendMessage(WM_MOUSEHOVER, 0, 0);
        dlg.RedrawLayer();
        EXPECT_EQ(1, dlg.m_nReports);
        EXPECT_EQ(kBackdropColour, ScreenPixel(rect.left + 310, rect.top + 210));
    }
}

} // namespace
} // namespace skintest
