// The game window's own look: its shape, its painted caption and frame, and the caption text.
#include "app/DlgQXRVGameWnd.h"

#include "framework/WindowDC.h"
#include "res/resource.h"

namespace {

// Caption text: the title and one space, always this literal whatever the page or the window title say.
const wchar_t kCaptionText[] = L"蓝柚川登陆器 ";
const int kCaptionTextLength = 7;
static_assert(sizeof(kCaptionText) / sizeof(kCaptionText[0]) - 1 == kCaptionTextLength, "caption length");

// The eight frame pieces in drawing order. Each piece's size is read from its bitmap at every paint.
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

bool IsCopied(Piece piece) {
    return piece == Piece::CaptionLeft || piece == Piece::CaptionRight || piece == Piece::BottomLeft ||
           piece == Piece::BottomRight;
}

} // namespace

void CDlgQXRVGameWnd::UpdateWindowRgn() {
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    const int w = rcWindow.Width();
    const int h = rcWindow.Height();

    // The shapes reach one past the window's size, so its last column and row stay inside the region.
    CRgn caption;
    CRgn body;
    if (!caption.CreateRoundRectRgn(0, 0, w + 1, 40, 6, 6) || !body.CreateRectRgn(0, 30, w + 1, h + 1))
        return;
    // The body covers the band's lower rounded corners, so only the top corners stay rounded.
    if (caption.CombineRgn(&caption, &body, RGN_OR) == ERROR)
        return;
    // Once accepted, the region belongs to the system.
    if (SetWindowRgn(caption, TRUE))
        caption.Detach();
}

void CDlgQXRVGameWnd::DrawFrame(CDC* pDC) {
    CRect rect;
    GetWindowRect(&rect);
    ScreenToClient(&rect);
    const int w = rect.Width();
    const int h = rect.Height();

    // Declared so that they go in the right order: the piece DC, then the frame DC, then the picture.
    CBitmap picture;
    CDC frameDC;
    CDC pieceDC;
    if (!picture.CreateCompatibleBitmap(pDC, w, h) || !frameDC.CreateCompatibleDC(pDC) ||
        !pieceDC.CreateCompatibleDC(NULL))
        return;
    CSelectScope selectPicture(frameDC, picture);
    if (selectPicture.GetPrevious() == NULL)
        return;

    frameDC.FillSolidRect(rect.left, rect.top, w, h, RGB(255, 255, 255));

    SIZE sizes[8] = {};
    for (const PieceRow& row : kPieces) {
        CBitmap bitmap;
        BITMAP bm = {};
        if (!bitmap.LoadBitmap(row.nID) || !bitmap.GetBitmap(&bm))
            continue;
        sizes[static_cast<int>(row.piece)] = {bm.bmWidth, bm.bmHeight};
        const Placement dst = PieceDestination(row.piece, w, h, sizes);
        // The piece leaves the DC before its bitmap is deleted at the end of this turn.
        CSelectScope selectPiece(pieceDC, bitmap);
        if (selectPiece.GetPrevious() == NULL)
            continue;
        if (IsCopied(row.piece))
            frameDC.BitBlt(dst.x, dst.y, dst.cx, dst.cy, &pieceDC, 0, 0, SRCCOPY);
        else
            frameDC.StretchBlt(dst.x, dst.y, dst.cx, dst.cy, &pieceDC, 0, 0, bm.bmWidth, bm.bmHeight,
                               SRCCOPY);
    }

    DrawCaptionText(&frameDC);

    // One transfer to the screen, so the frame never flickers.
    pDC->BitBlt(0, 0, w, h, &frameDC, 0, 0, SRCCOPY);
}

void CDlgQXRVGameWnd::DrawCaptionText(CDC* pDC) {
    pDC->SetTextColor(RGB(255, 255, 255));
    pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(12, 5, kCaptionText, kCaptionTextLength);
}

void CDlgQXRVGameWnd::OnPaint() {
    CPaintDC dc(this);
    DrawFrame(&dc);
}
