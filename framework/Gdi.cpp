#include "framework/Gdi.h"

#include "framework/WinApp.h"

#include <map>
#include <memory>

// ---- CGdiObject -------------------------------------------------------------------------------------------

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (!hObject)
        return FALSE;
    if (hObject != m_hObject)
        DeleteObject();
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ hObject = m_hObject;
    m_hObject = NULL;
    return hObject;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    // Forget the handle even when the system refuses it: a second try would not do better, and a handle
    // kept here might be freed twice once its real owner lets go.
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID pObject) const {
    return m_hObject ? ::GetObjectW(m_hObject, nCount, pObject) : 0;
}

// ---- CBitmap, CBrush, CRgn --------------------------------------------------------------------------------

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    return LoadBitmap(MAKEINTRESOURCEW(nIDResource));
}

BOOL CBitmap::LoadBitmap(LPCWSTR pszResourceName) {
    return Attach(::LoadBitmapW(AfxGetResourceHandle(), pszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    if (!pDC)
        return FALSE;
    return Attach(::CreateCompatibleBitmap(pDC->GetSafeHdc(), nWidth, nHeight));
}

BOOL CBitmap::GetBitmap(BITMAP* pBitmap) const {
    return pBitmap && GetObject(sizeof(BITMAP), pBitmap) == sizeof(BITMAP);
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    return Attach(::CreateSolidBrush(color));
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT pRect) {
    return pRect && Attach(::CreateRectRgnIndirect(pRect));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int nEllipseWidth, int nEllipseHeight) {
    return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, nEllipseWidth, nEllipseHeight));
}

int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
    if (!m_hObject || !pRgn1)
        return ERROR;
    return ::CombineRgn(*this, *pRgn1, pRgn2 ? static_cast<HRGN>(*pRgn2) : NULL, nCombineMode);
}

// ---- CDC --------------------------------------------------------------------------------------------------

namespace {

// The temporary wrappers of this thread, one per DC handle, until the next DeleteTempMap.
std::map<HDC, std::unique_ptr<CDC>>& TempDCs() {
    thread_local std::map<HDC, std::unique_ptr<CDC>> s_temps;
    return s_temps;
}

HDC SafeHdc(CDC* pDC) {
    return pDC ? pDC->GetSafeHdc() : NULL;
}

} // namespace

CDC::~CDC() {
    if (m_bOwnsDC && m_hDC)
        ::DeleteDC(m_hDC);
}

BOOL CDC::Attach(HDC hDC) {
    if (!hDC)
        return FALSE;
    if (hDC != m_hDC)
        DeleteDC();
    m_hDC = hDC;
    m_bOwnsDC = true;
    return TRUE;
}

void CDC::AttachBorrowed(HDC hDC) {
    if (hDC != m_hDC)
        DeleteDC();
    m_hDC = hDC;
    m_bOwnsDC = false;
}

HDC CDC::Detach() {
    HDC hDC = m_hDC;
    m_hDC = NULL;
    m_bOwnsDC = true;
    return hDC;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC || !m_bOwnsDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    return Attach(::CreateCompatibleDC(SafeHdc(pDC)));
}

CDC* CDC::FromHandle(HDC hDC) {
    if (!hDC)
        return NULL;
    std::unique_ptr<CDC>& pTemp = TempDCs()[hDC];
    if (!pTemp) {
        pTemp.reset(new CDC);
        pTemp->AttachBorrowed(hDC);
    }
    return pTemp.get();
}

void CDC::DeleteTempMap() {
    TempDCs().clear();
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    return m_hDC && hObject ? ::SelectObject(m_hDC, hObject) : NULL;
}

HBITMAP CDC::SelectObject(CBitmap* pBitmap) {
    return static_cast<HBITMAP>(pBitmap ? SelectObject(pBitmap->GetSafeHandle()) : NULL);
}

HBRUSH CDC::SelectObject(CBrush* pBrush) {
    return static_cast<HBRUSH>(pBrush ? SelectObject(pBrush->GetSafeHandle()) : NULL);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, SafeHdc(pSrcDC), xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, SafeHdc(pSrcDC), xSrc, ySrc, nSrcWidth, nSrcHeight,
                        dwRop);
}

// gdi32's own export of the same call. msimg32.dll, which also exports it, is no known DLL of Windows, so
// importing it would run a msimg32.dll lying beside the program instead of the system's.
BOOL CDC::TransparentBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                         int nSrcWidth, int nSrcHeight, UINT crTransparent) {
    return ::GdiTransparentBlt(m_hDC, x, y, nWidth, nHeight, SafeHdc(pSrcDC), xSrc, ySrc, nSrcWidth,
                               nSrcHeight, crTransparent);
}

void CDC::FillSolidRect(LPCRECT pRect, COLORREF color) {
    if (!pRect || !m_hDC)
        return;
    // An opaque text-out of nothing fills the rectangle in the background colour without needing a brush.
    const COLORREF oldColor = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, pRect, NULL, 0, NULL);
    ::SetBkColor(m_hDC, oldColor);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const RECT rc = {x, y, x + cx, y + cy};
    FillSolidRect(&rc, color);
}

void CDC::FillRect(LPCRECT pRect, CBrush* pBrush) {
    if (pRect && pBrush && m_hDC)
        ::FillRect(m_hDC, pRect, *pBrush);
}

COLORREF CDC::SetTextColor(COLORREF color) {
    return ::SetTextColor(m_hDC, color);
}

COLORREF CDC::SetBkColor(COLORREF color) {
    return ::SetBkColor(m_hDC, color);
}

int CDC::SetBkMode(int nBkMode) {
    return ::SetBkMode(m_hDC, nBkMode);
}

BOOL CDC::TextOut(int x, int y, LPCWSTR pszText, int nCount) {
    return pszText && nCount >= 0 && ::TextOutW(m_hDC, x, y, pszText, nCount);
}

BOOL CDC::TextOut(int x, int y, const CString& str) {
    return TextOut(x, y, str, str.GetLength());
}

// ---- CSelectScope -----------------------------------------------------------------------------------------

CSelectScope::CSelectScope(CDC& dc, HGDIOBJ hObject)
    : m_hDC(dc.GetSafeHdc()), m_hPrevious(dc.SelectObject(hObject)) {}

CSelectScope::~CSelectScope() {
    if (m_hPrevious)
        ::SelectObject(m_hDC, m_hPrevious);
}
