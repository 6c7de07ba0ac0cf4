#include "skin/TranslucentButton.h"

#include "framework/MouseTracking.h"
#include "framework/String.h"
#include "skin/GdiplusServices.h"
#include "skin/PngResource.h"

IMPLEMENT_DYNAMIC(CTranslucentButton, CTranslucentWnd)

BEGIN_MESSAGE_MAP(CTranslucentButton, CTranslucentWnd)
ON_WM_MOUSEMOVE()
ON_MESSAGE(WM_MOUSELEAVE, &CTranslucentButton::OnMouseLeave)
ON_MESSAGE(WM_MOUSEHOVER, &CTranslucentButton::OnMouseHover)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

namespace {

// The button styles that keep a checked state (compared against the whole low byte of the style).
bool IsCheckStyle(LONG style) {
    switch (style & 0xFF) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

} // namespace

CTranslucentButton::CTranslucentButton()
    : m_pShownImage(NULL), m_bMouseOver(false), m_bMouseDown(false), m_bCheckedState(false),
      m_bTrackingLeave(false), m_textFormat(0, LANG_NEUTRAL),
      m_pTextFont(skin::NewFontOrSansSerif(L"Arial", 12.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint)),
      m_textBrush(Gdiplus::Color(0xFF000000)) {
    m_stateImages.resize(kSlotCount, NULL);
    m_textFormat.SetAlignment(Gdiplus::StringAlignmentCenter);
    m_textFormat.SetLineAlignment(Gdiplus::StringAlignmentCenter);
}

CTranslucentButton::~CTranslucentButton() {
    delete m_pTextFont;
    m_pTextFont = NULL;
    m_pShownImage = NULL; // the images themselves go with the base class
}

void CTranslucentButton::DeleteStateImages() {
    m_pShownImage = NULL;
    for (Gdiplus::Image*& image : m_stateImages) {
        delete image;
        image = NULL;
    }
}

bool CTranslucentButton::LoadStateImages(const StateImageIds& ids) {
    DeleteStateImages();
    if (ids.nNormal == 0)
        return false;
    m_stateImages[kNormal] = ImageFromPngResource(ids.nNormal);
    if (m_stateImages[kNormal] == NULL)
        return false;
    // Each slot gets its own object, even where two slots name the same picture.
    const struct {
        Slot slot;
        UINT nID;
    } optional[] = {
        {kHover, ids.nHover}, {kPressed, ids.nPressed}, {kDisabled, ids.nDisabled}, {kChecked, ids.nChecked}};
    for (const auto& item : optional) {
        if (item.nID != 0)
            m_stateImages[item.slot] = ImageFromPngResource(item.nID);
    }
    m_pShownImage = m_stateImages[kNormal];
    // A picture that failed to decode reports 0 x 0, and the window takes that size.
    const UINT height = m_pShownImage->GetHeight();
    const UINT width = m_pShownImage->GetWidth();
    SetWindowPos(NULL, -1, -1, static_cast<int>(width), static_cast<int>(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    return true;
}

void CTranslucentButton::RefreshLook() {
    Gdiplus::Image* const pBefore = m_pShownImage;
    Slot slot = kNormal;
    if (m_bMouseOver && m_bMouseDown)
        slot = kPressed;
    else if (m_bMouseOver)
        slot = kHover;
    else if (m_bDisabledLook)
        slot = kDisabled;
    else if (m_bCheckedState)
        slot = kChecked;
    m_pShownImage = m_stateImages[slot] != NULL ? m_stateImages[slot] : m_stateImages[kNormal];
    // Compared by object: two slots loaded from one picture still count as a change.
    if (m_pShownImage != pBefore && m_pLayerHost != NULL)
        m_pLayerHost->OnChildLookChanged(this);
}

void CTranslucentButton::PaintToLayer(Gdiplus::Graphics* pGraphics) {
    if (m_pShownImage == NULL || pGraphics == NULL)
        return;
    CRect rect;
    GetWindowRect(&rect);
    if (CWnd* pParent = GetParent())
        pParent->ScreenToClient(&rect);
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                                static_cast<Gdiplus::REAL>(rect.Width()),
                                static_cast<Gdiplus::REAL>(rect.Height()));
    pGraphics->DrawImage(m_pShownImage, layout);
    CString text;
    GetWindowText(text);
    if (!text.IsEmpty() && m_pTextFont != NULL)
        pGraphics->DrawString(text, text.GetLength(), m_pTextFont, layout, &m_textFormat, &m_textBrush);
}

void CTranslucentButton::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) {
    if (!m_bTrackingLeave)
        m_bTrackingLeave = TrackHoverAndLeave(m_hWnd);
    Default();
}

LRESULT CTranslucentButton::OnMouseHover(WPARAM, LPARAM) {
    m_bMouseOver = true;
    RefreshLook();
    return 0;
}

LRESULT CTranslucentButton::OnMouseLeave(WPARAM, LPARAM) {
    m_bMouseOver = false;
    m_bTrackingLeave = false;
    RefreshLook();
    return 0;
}

void CTranslucentButton::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
    m_bMouseDown = true;
    RefreshLook();
    Default();
}

void CTranslucentButton::OnLButtonUp(UINT /*nFlags*/, CPoint point) {
    m_bMouseDown = false;
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        // A push button never keeps a checked state; check boxes and radio buttons flip on every release.
        m_bCheckedState = IsCheckStyle(::GetWindowLongW(m_hWnd, GWL_STYLE)) ? !m_bCheckedState : false;
    } else {
        m_bMouseOver = false;
    }
    // The picture is redrawn before the control tells its parent of the click.
    RefreshLook();
    Default();
}
