#include "skin/LayerPicture.h"

#include "framework/WindowDC.h"
#include "skin/LayeredWindowApi.h"
#include "skin/TranslucentWnd.h"

#include <cstring>

namespace {

// A child draws inside its window rectangle. The margin is a precaution (GDI+ here draws nothing outside it):
// a stray pixel of a stretched image or of a caption at the edge would still lie in the area drawn again.
const int kChildMargin = 2;

// Row y of a bottom-up 32-bit picture w pixels wide, counted from the top.
DWORD* PictureRow(BYTE* pBits, SIZE size, int y) {
    return reinterpret_cast<DWORD*>(pBits) + static_cast<size_t>(size.cy - 1 - y) * size.cx;
}

RECT Union(const RECT& a, const RECT& b) {
    RECT both;
    if (::IsRectEmpty(&a))
        return b;
    if (::IsRectEmpty(&b))
        return a;
    ::UnionRect(&both, &a, &b);
    return both;
}

// Where each child draws now, in hWnd's client coordinates, widened and cut to the picture.
std::vector<RECT> ChildAreas(HWND hWnd, const std::vector<CTranslucentWnd*>& shown, SIZE size) {
    const RECT picture = {0, 0, size.cx, size.cy};
    std::vector<RECT> areas;
    for (CTranslucentWnd* pChild : shown) {
        RECT rect = {0, 0, 0, 0};
        if (::GetWindowRect(pChild->GetSafeHwnd(), &rect))
            ::MapWindowPoints(NULL, hWnd, reinterpret_cast<POINT*>(&rect), 2);
        ::InflateRect(&rect, kChildMargin, kChildMargin);
        RECT area = {0, 0, 0, 0};
        ::IntersectRect(&area, &rect, &picture);
        areas.push_back(area);
    }
    return areas;
}

} // namespace

void CLayerPicture::Redraw(HWND hWnd, Gdiplus::Image* pBackground, SIZE size,
                           const std::vector<CTranslucentWnd*>& shown, BLENDFUNCTION* pBlend, bool bChanges) {
    // UpdateLayeredWindow's destination is the screen's DC, whose palette it matches colours with; given back
    // however the redraw ends. Without one the push passes NULL, which stands for the default palette.
    CClientDC screenDC(nullptr, std::nothrow);
    RECT windowRect = {};
    ::GetWindowRect(hWnd, &windowRect);
    if (pBackground != m_pBytesOf)
        BackgroundChanged();
    if (!m_picture.IsMade() || m_picture.Size().cx != size.cx || m_picture.Size().cy != size.cy)
        SizeChanged(screenDC.GetSafeHdc(), size);
    if (!m_picture.IsMade())
        return;

    // What is kept decides the work, read here alone: the children can be drawn again over the background's
    // kept bytes, and only the changed part handed over while the window shows the last picture at its size.
    const bool bChildrenOnly = bChanges && !m_backgroundBytes.empty();
    const bool bPartial = bChanges && m_bOnScreen && ::IsWindowVisible(hWnd) && !::IsIconic(hWnd) &&
                          windowRect.right - windowRect.left == size.cx &&
                          windowRect.bottom - windowRect.top == size.cy;
    // Known again only once this push has gone through, so a redraw cut short leaves the next one whole.
    m_bOnScreen = false;

    const std::vector<RECT> areas = ChildAreas(hWnd, shown, size);
    const RECT changed =
        bChildrenOnly ? ComposeChildren(shown, areas) : ComposeWhole(pBackground, shown, areas);
    m_bOnScreen = Push(hWnd, screenDC.GetSafeHdc(), {windowRect.left, windowRect.top},
                       bPartial ? &changed : nullptr, pBlend);
}

void CLayerPicture::SizeChanged(HDC hdc, SIZE size) {
    BackgroundChanged(); // its bytes were drawn at the old size
    m_childAreas.clear();
    m_bOnScreen = false;
    m_picture.CreateDib(hdc, size);
}

void CLayerPicture::BackgroundChanged() {
    std::vector<BYTE>().swap(m_backgroundBytes);
    m_pBytesOf = nullptr;
}

void CLayerPicture::Release() {
    BackgroundChanged();
    m_picture.Release();
    m_childAreas.clear();
    m_bOnScreen = false;
}

RECT CLayerPicture::ComposeWhole(Gdiplus::Image* pBackground, const std::vector<CTranslucentWnd*>& shown,
                                 const std::vector<RECT>& areas) {
    const SIZE size = m_picture.Size();
    BYTE* pBits = m_picture.Bits();
    const size_t nBytes = 4u * size.cx * size.cy;
    ::GdiFlush(); // nothing GDI still owes may land on the bytes written here
    const bool bKept = !m_backgroundBytes.empty();
    if (bKept)
        std::memcpy(pBits, m_backgroundBytes.data(), nBytes);
    else
        std::memset(pBits, 0, nBytes); // fully transparent to start with

    Gdiplus::Graphics graphics(m_picture.DC());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    if (!bKept) {
        const Gdiplus::Status drawn = graphics.DrawImage(pBackground, 0, 0, size.cx, size.cy);
        // GDI+ may hold drawing back until the graphics object is flushed.
        graphics.Flush(Gdiplus::FlushIntentionSync);
        ::GdiFlush();
        // Only a background that was really drawn is kept; otherwise the next redraw tries again.
        if (drawn == Gdiplus::Ok) {
            m_backgroundBytes.assign(pBits, pBits + nBytes);
            m_pBytesOf = pBackground;
        }
    }
    PaintChildren(graphics, shown, areas);
    return {0, 0, size.cx, size.cy};
}

RECT CLayerPicture::ComposeChildren(const std::vector<CTranslucentWnd*>& shown,
                                    const std::vector<RECT>& areas) {
    const SIZE size = m_picture.Size();
    BYTE* pBits = m_picture.Bits();
    RECT redrawn = {0, 0, 0, 0};
    for (const RECT& area : m_childAreas)
        redrawn = Union(redrawn, area);
    for (const RECT& area : areas)
        redrawn = Union(redrawn, area);
    if (::IsRectEmpty(&redrawn))
        return redrawn; // no child drew before or draws now: nothing changes

    // Outside the children's areas, old and new, the picture is the background either way. Inside, the
    // background goes back and every shown child is drawn again, so the bytes are those of a whole redraw.
    const int width = redrawn.right - redrawn.left;
    std::vector<DWORD> before(static_cast<size_t>(width) * (redrawn.bottom - redrawn.top));
    ::GdiFlush();
    for (int y = redrawn.top; y < redrawn.bottom; ++y) {
        DWORD* pRow = PictureRow(pBits, size, y) + redrawn.left;
        const DWORD* pBackground = PictureRow(m_backgroundBytes.data(), size, y) + redrawn.left;
        std::memcpy(&before[static_cast<size_t>(y - redrawn.top) * width], pRow, 4u * width);
        std::memcpy(pRow, pBackground, 4u * width);
    }
    {
        Gdiplus::Graphics graphics(m_picture.DC());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
        PaintChildren(graphics, shown, areas);
    }

    // Only the pixels that differ from the last picture are handed over.
    RECT changed = {0, 0, 0, 0};
    for (int y = redrawn.top; y < redrawn.bottom; ++y) {
        const DWORD* pRow = PictureRow(pBits, size, y) + redrawn.left;
        const DWORD* pOld = &before[static_cast<size_t>(y - redrawn.top) * width];
        int x = 0;
        while (x < width && pRow[x] == pOld[x])
            ++x;
        if (x == width)
            continue;
        int right = width;
        while (pRow[right - 1] == pOld[right - 1])
            --right;
        changed = Union(changed, {redrawn.left + x, y, redrawn.left + right, y + 1});
    }
    return changed;
}

void CLayerPicture::PaintChildren(Gdiplus::Graphics& graphics, const std::vector<CTranslucentWnd*>& shown,
                                  const std::vector<RECT>& areas) {
    m_childAreas = areas;
    for (CTranslucentWnd* pChild : shown)
        pChild->PaintToLayer(&graphics);
    graphics.Flush(Gdiplus::FlushIntentionSync);
    ::GdiFlush();
}

bool CLayerPicture::Push(HWND hWnd, HDC hScreenDC, POINT position, const RECT* pDirty,
                         BLENDFUNCTION* pBlend) {
    SIZE size = m_picture.Size();
    POINT source = {0, 0};
    const RECT whole = {0, 0, size.cx, size.cy};
    if (pDirty != nullptr && ::IsRectEmpty(pDirty))
        return true; // the window already shows every pixel of it
    if (pDirty != nullptr && !::EqualRect(pDirty, &whole)) {
        UPDATELAYEREDWINDOWINFO info = {};
        info.cbSize = sizeof info;
        info.hdcDst = hScreenDC;
        info.pptDst = &position;
        info.psize = &size;
        info.hdcSrc = m_picture.DC();
        info.pptSrc = &source;
        info.pblend = pBlend;
        info.dwFlags = ULW_ALPHA | ULW_EX_NORESIZE; // fails, rather than resizes, at another size
        info.prcDirty = pDirty; // the whole picture is still passed; only this part is taken
        if (skin::CallUpdateLayeredWindowIndirect(hWnd, &info))
            return true;
    }
    // The whole picture, where a part would not do or could not be handed over.
    return skin::CallUpdateLayeredWindow(hWnd, hScreenDC, &position, &size, m_picture.DC(), &source, 0,
                                         pBlend, ULW_ALPHA);
}
