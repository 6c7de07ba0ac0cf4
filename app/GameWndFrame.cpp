// The game window's own look: its shape, its painted caption and frame, and the caption text.
#include "app/DlgQXRVGameWnd.h"

#include "framework/WindowDC.h"
#include "res/resource.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// Caption text: the title and one space, always this literal whatever the page or the window title say.
const wchar_t kCaptionText[] = L"蓝柚川登陆器 ";
const int kCaptionTextLength = 7;
static_assert(sizeof(kCaptionText) / sizeof(kCaptionText[0]) - 1 == kCaptionTextLength, "caption length");
// The caption text's top-left corner, in window coordinates.
const POINT kCaptionTextAt = {12, 5};

// The eight frame pieces in drawing order. Each piece's size is read from its bitmap, never compiled in.
enum class Piece { CaptionLeft, CaptionRight, CaptionMiddle, BottomLeft, BottomRight, Bottom, Left, Right };

// Destination of a piece: top-left corner and size.
struct Placement {
    int x, y, cx, cy;
};

struct PieceRow {
    Piece piece;
    UINT nID;
};

const PieceRow kPieces[] = {
    {Piece::CaptionLeft, IDB_FRAME_CAPTION_LEFT},
    {Piece::CaptionRight, IDB_FRAME_CAPTION_RIGHT},
    {Piece::CaptionMiddle, IDB_FRAME_CAPTION_MIDDLE},
    {Piece::BottomLeft, IDB_FRAME_BOTTOM_LEFT},
    {Piece::BottomRight, IDB_FRAME_BOTTOM_RIGHT},
    {Piece::Bottom, IDB_FRAME_BOTTOM},
    {Piece::Left, IDB_FRAME_LEFT},
    {Piece::Right, IDB_FRAME_RIGHT},
};

// Where a piece goes in a w x h window, given the sizes of the pieces drawn before it (0 x 0 for a piece that
// could not be loaded). Corners and caption ends are copied; the rest is stretched between them.
Placement PieceDestination(Piece piece, int w, int h, const SIZE (&sz)[8]) {
    const SIZE& me = sz[static_cast<int>(piece)];
    auto at = [&](Piece p) { return sz[static_cast<int>(p)]; };
    switch (piece) {
    case Piece::CaptionLeft:
        return {0, 0, me.cx, me.cy};
    case Piece::CaptionRight:
        return {w - me.cx, 0, me.cx, me.cy};
    case Piece::CaptionMiddle:
        return {at(Piece::CaptionLeft).cx, 0, w - at(Piece::CaptionLeft).cx - at(Piece::CaptionRight).cx,
                me.cy};
    case Piece::BottomLeft:
        return {0, h - me.cy, me.cx, me.cy};
    case Piece::BottomRight:
        return {w - me.cx, h - me.cy, me.cx, me.cy};
    case Piece::Bottom:
        return {at(Piece::BottomLeft).cx, h - me.cy, w - at(Piece::BottomLeft).cx - at(Piece::BottomRight).cx,
                me.cy};
    case Piece::Left:
        return {0, at(Piece::CaptionLeft).cy, me.cx,
                h - at(Piece::CaptionLeft).cy - at(Piece::BottomLeft).cy};
    case Piece::Right:
        return {w - me.cx, at(Piece::CaptionRight).cy, me.cx,
                h - at(Piece::CaptionRight).cy - at(Piece::BottomRight).cy};
    }
    return {0, 0, 0, 0};
}

// What a bitmap compatible with the DC is made of: its bits per pixel.
int DcFormat(CDC* pDC) {
    return ::GetDeviceCaps(pDC->GetSafeHdc(), BITSPIXEL) * ::GetDeviceCaps(pDC->GetSafeHdc(), PLANES);
}

// What is left of keep once every rectangle of drawn is cut off it, each off the side that keeps the most.
RECT UntouchedPart(RECT keep, const std::vector<RECT>& drawn) {
    for (const RECT& rect : drawn) {
        RECT both;
        if (!::IntersectRect(&both, &keep, &rect))
            continue;
        RECT sides[4] = {keep, keep, keep, keep};
        sides[0].right = both.left;
        sides[1].left = both.right;
        sides[2].bottom = both.top;
        sides[3].top = both.bottom;
        auto area = [](const RECT& r) {
            return ::IsRectEmpty(&r) ? 0LL : 1LL * (r.right - r.left) * (r.bottom - r.top);
        };
        keep = *std::max_element(std::begin(sides), std::end(sides),
                                 [&](const RECT& a, const RECT& b) { return area(a) < area(b); });
    }
    return keep;
}

bool IsCopied(Piece piece) {
    return piece == Piece::CaptionLeft || piece == Piece::CaptionRight || piece == Piece::BottomLeft ||
           piece == Piece::BottomRight;
}

} // namespace

bool CDlgQXRVGameWnd::MakeWindowShape(CRgn& shape, int w, int h) {
    // The shapes reach one past the window's size, so its last column and row stay inside the region.
    CRgn body;
    if (!shape.CreateRoundRectRgn(0, 0, w + 1, 40, 6, 6) || !body.CreateRectRgn(0, 30, w + 1, h + 1))
        return false;
    // The body covers the band's lower rounded corners, so only the top corners stay rounded.
    return shape.CombineRgn(&shape, &body, RGN_OR) != ERROR;
}

void CDlgQXRVGameWnd::UpdateWindowRgn() {
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRgn shape;
    if (!MakeWindowShape(shape, rcWindow.Width(), rcWindow.Height()))
        return;
    // Once accepted, the region belongs to the system.
    if (SetWindowRgn(shape, TRUE))
        shape.Detach();
}

void CDlgQXRVGameWnd::DrawFrame(CDC* pDC) {
    if (pDC == NULL || pDC->GetSafeHdc() == NULL)
        return;
    CRect rect;
    GetWindowRect(&rect);
    ScreenToClient(&rect);
    const int w = rect.Width();
    const int h = rect.Height();

    // At the size and format of the last paint, the kept picture is already what this one would compose.
    const bool kept =
        m_bFrameComposed && m_frameSize.cx == w && m_frameSize.cy == h && m_nFrameFormat == FormatOf(pDC);
    if (!kept && !ComposeFrame(pDC, w, h))
        return;

    // One transfer to the screen, so the frame never flickers.
    pDC->BitBlt(0, 0, w, h, &m_framePicture.DC(), 0, 0, SRCCOPY);
}

bool CDlgQXRVGameWnd::LoadFramePieces() {
    // Each piece goes into one bitmap, side by side, so that a compose copies from one DC and selects
    // nothing.
    CBitmap bitmaps[8];
    SIZE sizes[8] = {};
    LONG width = 0, height = 0;
    bool complete = true;
    for (int i = 0; i < 8; ++i) {
        BITMAP bm = {};
        if (!bitmaps[i].LoadBitmap(kPieces[i].nID) || !bitmaps[i].GetBitmap(&bm)) {
            complete = false;
            continue;
        }
        sizes[i] = {bm.bmWidth, bm.bmHeight};
        width += bm.bmWidth;
        height = std::max<LONG>(height, bm.bmHeight);
    }
    CDC loadDC;
    if (width == 0 || !m_framePieces.CreateCompatible(NULL, {width, height}) ||
        !loadDC.CreateCompatibleDC(NULL)) {
        m_framePieces.Release();
        return false;
    }
    LONG x = 0;
    for (int i = 0; i < 8; ++i) {
        const Piece piece = kPieces[i].piece;
        m_pieceAt[static_cast<int>(piece)] = {0, 0, 0, 0};
        if (sizes[i].cx == 0)
            continue;
        CSelectScope select(loadDC, bitmaps[i]);
        if (select.GetPrevious() == NULL ||
            !m_framePieces.DC().BitBlt(x, 0, sizes[i].cx, sizes[i].cy, &loadDC, 0, 0, SRCCOPY)) {
            complete = false;
            continue;
        }
        m_pieceAt[static_cast<int>(piece)] = {x, 0, x + sizes[i].cx, sizes[i].cy};
        x += sizes[i].cx;
    }
    return complete;
}

bool CDlgQXRVGameWnd::ComposeFrame(CDC* pDC, int w, int h) {
    m_bFrameComposed = false;
    // Loaded once; when one could not be loaded, all are tried again at the next compose.
    if (!m_bPiecesLoaded)
        m_bPiecesLoaded = LoadFramePieces();
    const int format = FormatOf(pDC);
    // The bitmap is kept across sizes while it is large enough, so a resize does not make a new one.
    const SIZE have = m_framePicture.Size();
    if (!m_framePicture.IsMade() || format != m_nFrameFormat || have.cx < w || have.cy < h) {
        if (!m_framePicture.CreateCompatible(pDC, {std::max<LONG>(w, have.cx), std::max<LONG>(h, have.cy)}) &&
            !m_framePicture.CreateCompatible(pDC, {w, h}))
            return false;
        m_nFrameFormat = format;
        m_frameWhite = {0, 0, 0, 0};
    }
    CDC& frameDC = m_framePicture.DC();

    // White everywhere: only where the kept bitmap may hold something else does it need filling.
    const RECT all = {0, 0, w, h};
    RECT white = {0, 0, 0, 0};
    if (::IntersectRect(&white, &m_frameWhite, &all)) {
        frameDC.FillSolidRect(0, 0, w, white.top, RGB(255, 255, 255));
        frameDC.FillSolidRect(0, white.bottom, w, h - white.bottom, RGB(255, 255, 255));
        frameDC.FillSolidRect(0, white.top, white.left, white.bottom - white.top, RGB(255, 255, 255));
        frameDC.FillSolidRect(white.right, white.top, w - white.right, white.bottom - white.top,
                              RGB(255, 255, 255));
    } else {
        frameDC.FillSolidRect(0, 0, w, h, RGB(255, 255, 255));
    }
    m_frameWhite = {0, 0, 0, 0};
    std::vector<RECT> drawn;

    SIZE sizes[8] = {};
    for (const PieceRow& row : kPieces) {
        const RECT& at = m_pieceAt[static_cast<int>(row.piece)];
        if (!m_framePieces.IsMade() || ::IsRectEmpty(&at))
            continue; // a piece that could not be loaded is left out
        sizes[static_cast<int>(row.piece)] = {at.right - at.left, at.bottom - at.top};
        const Placement dst = PieceDestination(row.piece, w, h, sizes);
        drawn.push_back({dst.x, dst.y, dst.x + dst.cx, dst.y + dst.cy});
        if (IsCopied(row.piece))
            frameDC.BitBlt(dst.x, dst.y, dst.cx, dst.cy, &m_framePieces.DC(), at.left, at.top, SRCCOPY);
        else
            frameDC.StretchBlt(dst.x, dst.y, dst.cx, dst.cy, &m_framePieces.DC(), at.left, at.top,
                               at.right - at.left, at.bottom - at.top, SRCCOPY);
    }

    DrawCaptionText(&frameDC);
    SIZE text = {0, 0};
    ::GetTextExtentPoint32W(frameDC, kCaptionText, kCaptionTextLength, &text);
    const POINT at = kCaptionTextAt;
    drawn.push_back({at.x - 2, at.y - 2, at.x + text.cx + 2, at.y + text.cy + 2}); // room for any overhang
    m_frameWhite = UntouchedPart(all, drawn);
    m_frameSize = {w, h};
    m_bFrameComposed = true;
    return true;
}

int CDlgQXRVGameWnd::FormatOf(CDC* pDC) {
    // A DC of the display (BeginPaint, GetDC) has the display's format, which changes only with the display's
    // settings; asking the DC twice at every paint costs more than the copy itself. Any other DC, such as a
    // memory DC, has its bitmap's format and is asked each time.
    if (::GetObjectType(pDC->GetSafeHdc()) != OBJ_DC)
        return DcFormat(pDC);
    if (m_nDisplayFormat == 0)
        m_nDisplayFormat = DcFormat(pDC);
    return m_nDisplayFormat;
}

void CDlgQXRVGameWnd::DrawCaptionText(CDC* pDC) {
    pDC->SetTextColor(RGB(255, 255, 255));
    pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(kCaptionTextAt.x, kCaptionTextAt.y, kCaptionText, kCaptionTextLength);
}

void CDlgQXRVGameWnd::OnPaint() {
    CPaintDC dc(this);
    DrawFrame(&dc);
}

void CDlgQXRVGameWnd::ReleaseFramePictures(bool bPiecesToo) {
    m_bFrameComposed = false;
    m_frameWhite = {0, 0, 0, 0};
    m_framePicture.Release();
    if (bPiecesToo) {
        m_framePieces.Release();
        m_bPiecesLoaded = false;
    }
}

// A hidden window paints nothing: its picture goes, and the first paint after it shows again composes anew.
LRESULT CDlgQXRVGameWnd::OnShowWindowMsg(WPARAM wParam, LPARAM /*lParam*/) {
    if (!wParam)
        ReleaseFramePictures(false);
    return Default();
}

// Settings, display, colour and theme changes may change what a paint draws or the DC's format.
LRESULT CDlgQXRVGameWnd::OnLookSettingsChanged(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    m_bFrameComposed = false;
    m_nDisplayFormat = 0;
    m_frameWhite = {0, 0, 0, 0};
    return Default();
}

void CDlgQXRVGameWnd::OnDestroy() {
    ReleaseFramePictures(true);
    CSizeDialog::OnDestroy();
}
