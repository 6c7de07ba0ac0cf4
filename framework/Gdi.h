// Owning wrappers of GDI objects (bitmaps, brushes, regions) and device contexts.
//
// Each wrapper owns the handle it holds and frees it in its destructor. Attach hands a handle over to the
// wrapper (a handle held before is freed first); Detach hands it back, and from then on the caller owns it.
// Wrappers are not copyable: ownership moves only through Attach/Detach.
#pragma once

#include "framework/Prelude.h"

#include "framework/String.h"

class CDC;

class CGdiObject {
public:
    CGdiObject() : m_hObject(NULL) {}
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // Takes ownership of hObject. Returns FALSE (and frees nothing) for NULL.
    BOOL Attach(HGDIOBJ hObject);
    // Gives up ownership; returns the handle, or NULL when there was none.
    HGDIOBJ Detach();
    // Frees the handle now. Returns FALSE when there was none or the system refused (e.g. still selected).
    BOOL DeleteObject();

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    // GetObject on the handle: bytes written, 0 without a handle.
    int GetObject(int nCount, LPVOID pObject) const;

    HGDIOBJ m_hObject;
};

class CBitmap : public CGdiObject {
public:
    // Loads a bitmap resource from the framework's resource module.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(LPCWSTR pszResourceName);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    // Size and format of the bitmap; FALSE without a handle.
    BOOL GetBitmap(BITMAP* pBitmap) const;

    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    BOOL CreateSolidBrush(COLORREF color);

    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT pRect);
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int nEllipseWidth, int nEllipseHeight);
    // Combines two regions into this one (which must exist); returns the region type, ERROR on failure.
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode);

    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};

class CDC {
public:
    CDC() : m_hDC(NULL), m_bOwnsDC(true) {}
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Takes ownership of a DC that is freed with DeleteDC (a memory DC, for one). A DC held before is given
    // up first. Returns FALSE for NULL.
    BOOL Attach(HDC hDC);
    // Gives up the DC without freeing it; returns it.
    HDC Detach();
    // Frees an owned DC now. A borrowed DC is never deleted here: FALSE.
    BOOL DeleteDC();
    // A memory DC compatible with pDC's DC, or with the screen when pDC is NULL.
    BOOL CreateCompatibleDC(CDC* pDC);

    // A wrapper for a DC this program does not own (e.g. the DC of WM_DRAWITEM), valid until the framework
    // clears its temporary objects at idle time (DeleteTempMap). NULL for a NULL handle.
    static CDC* FromHandle(HDC hDC);
    // Frees this thread's temporary wrappers; the DCs themselves are left alone.
    static void DeleteTempMap();

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    // Selection: each returns the object the selection replaced, as a raw handle to select back later.
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    HBITMAP SelectObject(CBitmap* pBitmap);
    HBRUSH SelectObject(CBrush* pBrush);

    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop);
    // Copies all but the pixels of exactly crTransparent.
    BOOL TransparentBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                        int nSrcHeight, UINT crTransparent);
    // Fills with a plain colour; the DC's background colour is left as it was.
    void FillSolidRect(LPCRECT pRect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FillRect(LPCRECT pRect, CBrush* pBrush);

    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int nBkMode);
    BOOL TextOut(int x, int y, LPCWSTR pszText, int nCount);
    BOOL TextOut(int x, int y, const CString& str);

    HDC m_hDC;

protected:
    // For a DC lent to this object (a window's DC, a paint DC, a temporary wrapper): used, never deleted
    // here. A derived class that borrowed a DC gives it back to its lender in its own destructor, then calls
    // Detach.
    void AttachBorrowed(HDC hDC);
    bool OwnsDC() const { return m_bOwnsDC; }

private:
    bool m_bOwnsDC;
};

// Selects an object into a DC and puts the replaced one back when the scope ends, so that an object is never
// freed while a DC still holds it.
class CSelectScope {
public:
    CSelectScope(CDC& dc, HGDIOBJ hObject);
    ~CSelectScope();
    CSelectScope(const CSelectScope&) = delete;
    CSelectScope& operator=(const CSelectScope&) = delete;

    // The object that was selected before; NULL when the selection failed.
    HGDIOBJ GetPrevious() const { return m_hPrevious; }

private:
    HDC m_hDC;
    HGDIOBJ m_hPrevious;
};
