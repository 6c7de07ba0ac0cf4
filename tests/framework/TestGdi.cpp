// GDI wrappers: every handle is freed exactly once by whoever owns it, ownership moves with Attach/Detach,
// and the drawing helpers put what they draw where they say.
#include "framework/Gdi.h"
#include "framework/Types.h"

#include "res/resource.h"
#include "tests/support/GdiCount.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

bool IsLive(HGDIOBJ h) {
    return ::GetObjectType(h) != 0;
}

HGDIOBJ HandleOf(const CGdiObject& o) {
    return o.GetSafeHandle();
}
HGDIOBJ HandleOf(const CDC& dc) {
    return dc.GetSafeHdc();
}

// Makes kCount wrappers with make(), checks that their handles live as long as the wrappers and are gone
// afterwards, and that the count of live GDI objects comes back to where it was.
template <class Wrapper, class Make> void CheckWrapperFreesItsHandles(const char* what, Make make) {
    SCOPED_TRACE(what);
    const int kCount = 25;
    const qxrv::test::GdiCounts countBefore = qxrv::test::LiveGdiObjects();
    std::vector<HGDIOBJ> handles;
    {
        std::vector<std::unique_ptr<Wrapper>> wrappers;
        for (int i = 0; i < kCount; ++i) {
            wrappers.emplace_back(new Wrapper);
            ASSERT_TRUE(make(*wrappers.back()));
            handles.push_back(HandleOf(*wrappers.back()));
            ASSERT_NE(nullptr, handles.back());
        }
        for (HGDIOBJ h : handles)
            EXPECT_TRUE(IsLive(h));
        EXPECT_EQ(countBefore.Total() + kCount, qxrv::test::LiveGdiObjects().Total());
    }
    for (HGDIOBJ h : handles)
        EXPECT_FALSE(IsLive(h)) << "handle " << h << " outlived its wrapper";
    EXPECT_EQ(countBefore, qxrv::test::LiveGdiObjects());
}

TEST(GdiWrappers, DestructorsFreeTheirHandles) {
    CheckWrapperFreesItsHandles<CBitmap>("CBitmap", [](CBitmap& b) {
        CDC dc;
        return dc.CreateCompatibleDC(nullptr) && b.CreateCompatibleBitmap(&dc, 8, 8);
    });
    CheckWrapperFreesItsHandles<CBrush>("CBrush",
                                        [](CBrush& b) { return b.CreateSolidBrush(RGB(0, 255, 0)); });
    CheckWrapperFreesItsHandles<CRgn>("CRgn rect", [](CRgn& r) { return r.CreateRectRgn(0, 0, 10, 10); });
    CheckWrapperFreesItsHandles<CRgn>("CRgn round",
                                      [](CRgn& r) { return r.CreateRoundRectRgn(0, 0, 9, 9, 6, 6); });
    CheckWrapperFreesItsHandles<CGdiObject>(
        "CGdiObject", [](CGdiObject& o) { return o.Attach(::CreatePen(PS_SOLID, 1, RGB(1, 2, 3))); });
    CheckWrapperFreesItsHandles<CDC>("CDC", [](CDC& dc) { return dc.CreateCompatibleDC(nullptr); });
}

TEST(GdiWrappers, AttachAndDetachHandOwnershipOver) {
    HGDIOBJ hBrush = nullptr;
    {
        CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 1, 1)));
        hBrush = brush.Detach();
        EXPECT_EQ(nullptr, brush.GetSafeHandle());
        EXPECT_FALSE(brush.DeleteObject()) << "nothing left to delete";
    }
    EXPECT_TRUE(IsLive(hBrush)) << "a detached handle belongs to the caller";

    HGDIOBJ hOther = ::CreateSolidBrush(RGB(2, 2, 2));
    {
        CBrush owner;
        EXPECT_TRUE(owner.Attach(hBrush));
        EXPECT_TRUE(owner.Attach(hBrush)) << "attaching the held handle again keeps it";
        EXPECT_TRUE(IsLive(hBrush));
        EXPECT_TRUE(owner.Attach(hOther));
        EXPECT_FALSE(IsLive(hBrush)) << "the handle held before is freed on Attach";
        EXPECT_FALSE(owner.Attach(nullptr));
        EXPECT_EQ(hOther, owner.GetSafeHandle());
        EXPECT_EQ(static_cast<HBRUSH>(hOther), static_cast<HBRUSH>(owner));
    }
    EXPECT_FALSE(IsLive(hOther));

    // A region wrapper that holds nothing takes no combination, and a missing rectangle makes none.
    CRgn empty, band, body;
    ASSERT_TRUE(band.CreateRoundRectRgn(0, 0, 961, 40, 6, 6));
    ASSERT_TRUE(body.CreateRectRgn(0, 30, 961, 601));
    EXPECT_EQ(ERROR, empty.CombineRgn(&band, &body, RGN_OR)) << "no destination region";
    EXPECT_EQ(ERROR, band.CombineRgn(nullptr, &body, RGN_OR));
    EXPECT_FALSE(empty.CreateRectRgnIndirect(nullptr));
    EXPECT_EQ(nullptr, empty.GetSafeHandle());

    HDC hDC = nullptr;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        hDC = dc.Detach();
        EXPECT_EQ(nullptr, dc.m_hDC);
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), ::GetObjectType(hDC));
    {
        CDC dc;
        EXPECT_TRUE(dc.Attach(hDC));
        EXPECT_TRUE(dc.DeleteDC());
        EXPECT_FALSE(dc.DeleteDC());
    }
    EXPECT_FALSE(IsLive(hDC));
}

// The shape of a window that lends its DC: released by the lender, never deleted by CDC.
class CLentDC : public CDC {
public:
    explicit CLentDC(HDC hDC) { AttachBorrowed(hDC); }
    ~CLentDC() override { Detach(); }
    using CDC::OwnsDC;
};

TEST(GdiWrappers, BorrowedDCsAreNeverDeleted) {
    CDC owner;
    ASSERT_TRUE(owner.CreateCompatibleDC(nullptr));
    const HDC hDC = owner.GetSafeHdc();

    CDC* pTemp = CDC::FromHandle(hDC);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(hDC, pTemp->GetSafeHdc());
    EXPECT_EQ(pTemp, CDC::FromHandle(hDC)) << "one temporary per handle";
    EXPECT_FALSE(pTemp->DeleteDC());
    EXPECT_EQ(nullptr, CDC::FromHandle(nullptr));
    CDC::DeleteTempMap();
    EXPECT_TRUE(IsLive(hDC));

    {
        CLentDC lent(hDC);
        EXPECT_FALSE(lent.OwnsDC());
        EXPECT_FALSE(lent.DeleteDC());
        EXPECT_EQ(hDC, lent.m_hDC);
    }
    EXPECT_TRUE(IsLive(hDC));
}

TEST(GdiWrappers, SelectScopePutsTheOldObjectBack) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    const HGDIOBJ hInitial = ::GetCurrentObject(dc, OBJ_BITMAP);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 4, 4));
    {
        CSelectScope select(dc, bitmap);
        EXPECT_EQ(hInitial, select.GetPrevious());
        EXPECT_EQ(bitmap.GetSafeHandle(), ::GetCurrentObject(dc, OBJ_BITMAP));
        CSelectScope none(dc, nullptr);
        EXPECT_EQ(nullptr, none.GetPrevious());
    }
    EXPECT_EQ(hInitial, ::GetCurrentObject(dc, OBJ_BITMAP));
    EXPECT_TRUE(bitmap.DeleteObject()) << "no longer held by the DC";

    // The raw-handle form that selects back by hand.
    CBrush brush;
    ASSERT_TRUE(brush.CreateSolidBrush(RGB(9, 9, 9)));
    const HBRUSH hOld = dc.SelectObject(&brush);
    ASSERT_NE(nullptr, hOld);
    EXPECT_EQ(static_cast<HGDIOBJ>(brush), dc.SelectObject(hOld));
    EXPECT_EQ(nullptr, dc.SelectObject(static_cast<CBitmap*>(nullptr)));
}

// A memory DC holding a screen-compatible bitmap, filled with one colour.
struct Canvas {
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ hOld = nullptr;
    Canvas(int cx, int cy, COLORREF fill) {
        CDC screen;
        screen.Attach(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, cx, cy);
        hOld = dc.SelectObject(bitmap);
        dc.FillSolidRect(0, 0, cx, cy, fill);
    }
    ~Canvas() { dc.SelectObject(hOld); }
    COLORREF At(int x, int y) { return ::GetPixel(dc, x, y); }
};

TEST(GdiDrawing, FillAndCopyLandWhereTheySay) {
    Canvas canvas(20, 10, RGB(0, 0, 0));
    ASSERT_NE(nullptr, canvas.hOld);
    canvas.dc.SetBkColor(RGB(1, 2, 3));
    canvas.dc.FillSolidRect(CRect(2, 3, 6, 8), RGB(255, 255, 255));
    EXPECT_EQ(RGB(1, 2, 3), ::GetBkColor(canvas.dc)) << "the background colour is left alone";
    const struct {
        int x, y;
        COLORREF expected;
    } fillPixels[] = {{2, 3, RGB(255, 255, 255)}, {5, 7, RGB(255, 255, 255)}, {6, 7, RGB(0, 0, 0)},
                      {5, 8, RGB(0, 0, 0)},       {1, 3, RGB(0, 0, 0)},       {2, 2, RGB(0, 0, 0)}};
    for (const auto& p : fillPixels)
        EXPECT_EQ(p.expected, canvas.At(p.x, p.y)) << "at " << p.x << "," << p.y;

    // A strip of four one-pixel frames: red, magenta (not drawn), green, blue.
    Canvas strip(4, 1, RGB(255, 0, 0));
    strip.dc.FillSolidRect(1, 0, 1, 1, kMagenta);
    strip.dc.FillSolidRect(2, 0, 1, 1, RGB(0, 255, 0));
    strip.dc.FillSolidRect(3, 0, 1, 1, RGB(0, 0, 255));
    Canvas target(8, 2, RGB(10, 20, 30));
    EXPECT_TRUE(target.dc.TransparentBlt(0, 0, 4, 1, &strip.dc, 0, 0, 4, 1, kMagenta));
    EXPECT_TRUE(target.dc.BitBlt(4, 0, 1, 1, &strip.dc, 3, 0, SRCCOPY));
    EXPECT_TRUE(target.dc.StretchBlt(5, 0, 3, 2, &strip.dc, 2, 0, 1, 1, SRCCOPY));
    const COLORREF expectedRow0[] = {RGB(255, 0, 0), RGB(10, 20, 30), RGB(0, 255, 0), RGB(0, 0, 255),
                                     RGB(0, 0, 255), RGB(0, 255, 0),  RGB(0, 255, 0), RGB(0, 255, 0)};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(expectedRow0[x], target.At(x, 0)) << "at " << x << ",0";
    EXPECT_EQ(RGB(0, 255, 0), target.At(7, 1));
    EXPECT_EQ(RGB(10, 20, 30), target.At(0, 1));
}

TEST(GdiBitmaps, LoadFromTheProgramsResources) {
    const struct {
        UINT nID;
        LONG cx, cy;
    } bitmaps[] = {{IDB_STRIP_CLOSE, 136, 27}, {IDB_FRAME_CAPTION_MIDDLE, 10, 28}, {IDB_FRAME_BOTTOM, 2, 4}};
    for (const auto& b : bitmaps) {
        SCOPED_TRACE(testing::Message() << "bitmap " << b.nID);
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadBitmap(b.nID));
        BITMAP bm = {};
        ASSERT_TRUE(bitmap.GetBitmap(&bm));
        EXPECT_EQ(b.cx, bm.bmWidth);
        EXPECT_EQ(b.cy, bm.bmHeight);
    }
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(65000));
    EXPECT_EQ(nullptr, missing.GetSafeHandle());
    BITMAP bm = {};
    EXPECT_FALSE(missing.GetBitmap(&bm));
    EXPECT_FALSE(missing.GetBitmap(nullptr));
}

TEST(GdiTypes, RectanglesAndPoints) {
    const CRect rc(10, 20, 30, 60);
    const struct {
        POINT pt;
        BOOL inside;
    } hits[] = {{{10, 20}, TRUE}, {{29, 59}, TRUE}, {{30, 40}, FALSE}, {{20, 60}, FALSE}, {{9, 20}, FALSE}};
    for (const auto& h : hits)
        EXPECT_EQ(h.inside, rc.PtInRect(h.pt)) << h.pt.x << "," << h.pt.y;
    EXPECT_EQ(CPoint(20, 40), rc.CenterPoint());
    EXPECT_EQ(CSize(20, 40), rc.Size());
    EXPECT_TRUE(CRect(5, 5, 4, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());

    CRect r(rc);
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(CRect(11, 22, 27, 56), r);
    r.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(rc, r);
    r.OffsetRect(CPoint(-10, -20));
    EXPECT_EQ(CRect(0, 0, 20, 40), r);
    CRect flipped(30, 60, 10, 20);
    flipped.NormalizeRect();
    EXPECT_EQ(rc, flipped);
    CRect cut;
    EXPECT_FALSE(cut.IntersectRect(CRect(0, 0, 5, 5), CRect(5, 0, 9, 5)));
    EXPECT_TRUE(cut.IsRectNull());

    // Mouse coordinates are signed: left of or above a monitor they are negative.
    const CPoint p(MAKELPARAM(static_cast<WORD>(-7), 300));
    EXPECT_EQ(CPoint(-7, 300), p);
    EXPECT_EQ(CSize(3, -4), CPoint(5, 0) - CPoint(2, 4));
}

} // namespace
