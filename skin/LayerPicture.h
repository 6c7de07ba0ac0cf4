// What a layered dialog keeps of its picture between redraws, and the one place that decides how much of it a
// redraw makes again and hands to the window manager.
#pragma once

#include "framework/GdiplusPrelude.h"
#include "skin/MemoryPicture.h"

#include <vector>

class CTranslucentWnd;

class CLayerPicture {
public:
    CLayerPicture() = default;
    CLayerPicture(const CLayerPicture&) = delete;
    CLayerPicture& operator=(const CLayerPicture&) = delete;

    // Composes the background (pBackground, drawn at size) with the shown children over it in their order,
    // and pushes the picture to hWnd where the window stands. With bChanges only the children are drawn
    // again and only what changed is handed over, where what is kept allows it; the picture and the screen
    // end up the same either way. No picture (0 x 0) draws and pushes nothing.
    void Redraw(HWND hWnd, Gdiplus::Image* pBackground, SIZE size, const std::vector<CTranslucentWnd*>& shown,
                BLENDFUNCTION* pBlend, bool bChanges);

    // The ways to drop what is kept, one for each thing that makes it stale (Redraw itself notices a new
    // background or a new size):
    // the window hid, changed size or became layered anew, so it may no longer show the picture;
    void WindowChanged() { m_bOnScreen = false; }
    // the background changed (or failed to draw): its kept bytes go, so the next redraw draws it again;
    void BackgroundChanged();
    // all of it, when the window goes.
    void Release();

    // The last composed picture, bottom-up rows.
    const CMemoryPicture& Picture() const { return m_picture; }

private:
    // The background's size changed: the DIB section is made again at the new size, and nothing kept counts.
    void SizeChanged(HDC hdc, SIZE size);
    // The whole picture: the background (its kept bytes, or drawn anew and then kept), then the children
    // over it; returns the whole picture's rectangle.
    RECT ComposeWhole(Gdiplus::Image* pBackground, const std::vector<CTranslucentWnd*>& shown,
                      const std::vector<RECT>& areas);
    // The children drawn again over the kept background where they are and were; returns where pixels
    // changed.
    RECT ComposeChildren(const std::vector<CTranslucentWnd*>& shown, const std::vector<RECT>& areas);
    // Draws the children in order and notes areas as where they drew.
    void PaintChildren(Gdiplus::Graphics& graphics, const std::vector<CTranslucentWnd*>& shown,
                       const std::vector<RECT>& areas);
    // Hands pDirty of the picture over, or the whole picture when pDirty is NULL or the part cannot be handed
    // over; an empty pDirty hands nothing over. Whether the window now shows the picture.
    bool Push(HWND hWnd, HDC hScreenDC, POINT position, const RECT* pDirty, BLENDFUNCTION* pBlend);

    // The DIB section and its DC, at the background's size.
    CMemoryPicture m_picture;
    // The background alone, as GDI+ drew it into the empty picture, and the image it was drawn from; every
    // redraw of the children starts from it. Empty when none was drawn.
    std::vector<BYTE> m_backgroundBytes;
    const Gdiplus::Image* m_pBytesOf = nullptr;
    // Where the children were drawn in m_picture, each rectangle widened by a margin.
    std::vector<RECT> m_childAreas;
    // Whether the window shows m_picture: it was pushed since the window last changed.
    bool m_bOnScreen = false;
};
